// quillet-cli's transcript: shell sessions run on Linux, or, with a quillet-cli that runs
// quillet-cli.exe under Wine first on the PATH, those for Windows. The tag is the first argument.
#include "transcript.h"

int main(int argc, char** argv) {
    return quillet::test::runTranscript({argc > 1 ? argv[1] : "linux"}, {});
}
