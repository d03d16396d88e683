#include "cli/Commands.h"

#include <iostream>

int main(int, char**) {
    std::cout << "orvane-cli\n";
    return 0;
}
