// The compiled query of the Node Wizard's last run, kept under its node-table number.
#include "lib/state/nodewizard.h"
#include "nodewizard/actions.h"
#include "xpath/xpath.h"

IntT om_NWCompiledSequence() {
    IntT seq = NodeWizardRun.sequence;
    if (!om_XPathValidIndex(seq)) return 0;
    const XPathNodeRecord &rec = om_XPathRec(seq);
    return (rec.kind == XK_SEQUENCE && rec.sourceText == NodeWizardRun.compiledText) ? seq : 0;
}

void om_NWSetCompiledSequence(IntT sequence) {
    NodeWizardRun.sequence = sequence;
    NodeWizardRun.compiledText = om_XPathValidIndex(sequence) ? om_XPathRec(sequence).sourceText : "";
}
