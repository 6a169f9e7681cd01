// quorvex-release: makes the publisher's key and signs update information files.
#include "cli/ReleaseCommand.h"

int main(int argc, char** argv) {
    return quorvex::cli::RunRelease({argv + 1, argv + argc});
}
