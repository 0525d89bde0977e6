// The compiled query of the Node Wizard's last run, kept under its node-table number.
#include "lib/state/nodewizard.h"
#include "nodewizard/actions.h"
#include "xpath/xpath.h"

IntT om_NWLookUpCompiledSequence() {
    IntT seq = NodeWizardRun.sequence;
    if (!om_XPathValidIndex(seq)) return 0;
    const XPathNodeRecord &rec = om_XPathRec(seq);
    if (rec.kind != XK_SEQUENCE || rec.sourceText != NodeWizardRun.compiledText) return 0;
    NodeWizardRun.checkedSequence = seq;
    NodeWizardRun.checkedEmptied = XPathNodeTableEmptied;
    return seq;
}

void om_NWSetCompiledSequence(IntT sequence) {
    NodeWizardRun.checkedSequence = 0;
    NodeWizardRun.sequence = sequence;
    NodeWizardRun.compiledText = om_XPathValidIndex(sequence) ? om_XPathRec(sequence).sourceText : "";
}
