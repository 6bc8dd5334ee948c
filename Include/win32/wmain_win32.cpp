// Windows: the programs' entry. The command line is read as UTF-16 and handed to the program's
// own main (compiled as tarnovaMain) in UTF-8, the encoding every name keeps inside the suite.

#include "win32/utf8_win32.hpp"

#include <string>
#include <vector>

int tarnovaMain(int argc, char** argv);

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i) arguments.push_back(tarnova::win32::narrow(argv[i]));
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return tarnovaMain(argc, pointers.data());
}
