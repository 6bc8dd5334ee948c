// Windows: Curvella started beside Flexura with CreateProcessW (names in UTF-16, each argument
// quoted as the C runtime of the child splits its command line).

#include "curvellaLaunch.hpp"

#include "records/Records.hpp"
#include "win32/utf8_win32.hpp"

#include <string>
#include <thread>
#include <windows.h>

namespace tarnova::flexura {

namespace {
constexpr int handOverUnit = 222;

std::wstring programDirectory()
{
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// One argument quoted for CommandLineToArgvW and the C runtime: backslashes are literal except
// before a quote, where they are doubled; the quote itself is escaped.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}
} // namespace

std::string curvellaProgram()
{
    const std::wstring here = programDirectory();
    if (here.empty()) return {};
    for (const std::wstring& candidate : {here + L"Curvella.exe", here + L"..\\Curvella\\Curvella.exe"}) {
        if (isFile(candidate)) return win32::narrow(candidate);
    }
    return {};
}

std::string openInCurvella(const std::string& curvePath, int element, std::function<void()> ended)
{
    openUnit(handOverUnit, "nElem.txt");
    rewindUnit(handOverUnit);
    writeRecords(handOverUnit, "(I4)", {static_cast<std::int32_t>(element)});
    closeUnit(handOverUnit);

    const std::string program = curvellaProgram();
    if (program.empty()) return "nElem.txt holds element " + std::to_string(element) + "; Curvella was not found beside Flexura";
    const std::wstring application = win32::widen(program);
    std::wstring commandLine = quoted(application) + L" " + quoted(win32::widen(curvePath));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return "Curvella could not be started: Windows error " + std::to_string(GetLastError());
    // Curvella runs on its own; a thread of its own waits for its end when the caller asks to know.
    CloseHandle(process.hThread);
    if (ended) {
        std::thread([handle = process.hProcess, ended = std::move(ended)] {
            WaitForSingleObject(handle, INFINITE);
            CloseHandle(handle);
            ended();
        }).detach();
    } else {
        CloseHandle(process.hProcess);
    }
    return "Curvella shows element " + std::to_string(element) + " of " + curvePath;
}

void reapFinishedChildren()
{
    // Windows keeps no finished child to collect once its handles are closed.
}

} // namespace tarnova::flexura
