#include "SampleBackup.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: quorva-sample-backup OUTPUT\n";
        return 2;
    }
    using namespace quorva::samples;
    writeSampleBackup(argv[1], realisticBackup(quorva::Instant::now(), 100, 0.05));
    return 0;
}
