// Element walk shared by every pass over a document's structure tree.
//
// One step function, om_ElementNextInDocOrder, advances a pre-order walk that each ancestor
// reaches a second time on the way up. The global ElementWalkState steers it: the last move
// (1 down to the first child, 2 to the next sibling, 3 up to the parent; writing 3 before a step
// skips the current element's subtree) and the enabled flag (0 makes the next step stand still).
// ElementWalkStack saves last-move values around nested walks.
#pragma once

#include <vector>

#include "fdk.h"

constexpr IntT WalkDown = 1;
constexpr IntT WalkNext = 2;
constexpr IntT WalkUp = 3;

struct ElementWalkStateT {
    IntT lastMove = WalkDown;  // what the most recent step did (1, 2 or 3)
    IntT enabled = 1;          // 0: the next step returns its argument unchanged
};

extern ElementWalkStateT ElementWalkState;
extern std::vector<UIntT> ElementWalkStack;

// The next element of the pre-order walk from elemId, as ElementWalkState steers it; updates the
// last move. 0 when docId or elemId is 0 (state unchanged); elemId itself when walking is
// disabled; the parent (0 at the root) when the element has neither child to enter nor sibling.
F_ObjHandleT om_ElementNextInDocOrder(F_ObjHandleT docId, F_ObjHandleT elemId);

// Steps until an element whose definition has a non-empty name is reached (ancestors reached on
// the way up count, with last move 3), or 0. elemId itself when walking is disabled.
F_ObjHandleT om_ElementNextTagged(F_ObjHandleT docId, F_ObjHandleT elemId);

// Saves the current last move on ElementWalkStack.
void om_ElementWalkPush();
// Restores the last saved last move and drops it; nothing on an empty stack.
void om_ElementWalkPop();

// Starts a walk: last move 1, walking enabled.
void om_ElementWalkStart();

// Saves both walk values on construction and writes them back on destruction, for walkers that
// keep the state in locals across their whole run (every exit restores it).
class ElementWalkSaved {
  public:
    ElementWalkSaved() : saved_(ElementWalkState) {}
    ~ElementWalkSaved() { ElementWalkState = saved_; }
    ElementWalkSaved(const ElementWalkSaved &) = delete;
    ElementWalkSaved &operator=(const ElementWalkSaved &) = delete;

  private:
    ElementWalkStateT saved_;
};

// Brackets a walk with om_ElementWalkPush and om_ElementWalkPop (last move only).
class ElementWalkPushed {
  public:
    ElementWalkPushed() { om_ElementWalkPush(); }
    ~ElementWalkPushed() { om_ElementWalkPop(); }
    ElementWalkPushed(const ElementWalkPushed &) = delete;
    ElementWalkPushed &operator=(const ElementWalkPushed &) = delete;
};
