// Stand-in for the host's alert until the host's own lands: records the alert in the transcript
// and answers OK. Weak, so the host's definition wins as soon as it is linked.
#include <string>

#include "fdk.h"
#include "transcript.h"

extern "C" __attribute__((weak)) IntT F_ApiAlert(ConStringT message, IntT) {
    host::Transcript(std::string("alert (OK): ") + (message ? message : ""));
    return 0;
}
