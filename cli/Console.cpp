#include "cli/Console.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli {

namespace {

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

} // namespace

Console standardConsole() {
    return Console{.in = std::cin,
                   .out = std::cout,
                   .err = std::cerr,
                   .inputIsTerminal = isTerminal(stdin),
                   .errorIsTerminal = isTerminal(stderr),
                   .outputIsTerminal = isTerminal(stdout)};
}

} // namespace cli
