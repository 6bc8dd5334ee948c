// The PDF of the report: the HTML printed by a headless Chromium or Chrome. The browser runs with
// a fresh profile in a temporary folder, without network services or a sandbox (which needs
// privileges a root shell or a container lacks), and prints into that folder; the PDF is then
// put beside the HTML as every whole file is (replaceFile), and the folder removed.

#include "report.hpp"

#include "replaceFile.hpp"

#ifdef _WIN32

namespace tarnova::flexura {

// Printing drives a browser as a child process, which the Windows build does not do yet: the
// report stays HTML there, and --pdf says so and fails.
std::string printReportPdf(const CaseData& data, const std::string&)
{
    return "printing " + reportPdfName(data) + " is not available in the Windows build; " + reportHtmlName(data) +
           " is written (print it from a browser)";
}

} // namespace tarnova::flexura

#else

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarnova::flexura {

namespace {

namespace fs = std::filesystem;

constexpr auto printTimeLimit = std::chrono::seconds(120);

bool executable(const std::string& path)
{
    return !path.empty() && ::access(path.c_str(), X_OK) == 0 && !fs::is_directory(path);
}

// The first of the usual names of Chromium and Chrome found on PATH; "" when none is.
std::string findBrowser()
{
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    for (const char* name : {"chromium", "chromium-browser", "google-chrome", "google-chrome-stable"}) {
        std::size_t from = 0;
        while (from <= folders.size()) {
            const std::size_t to = std::min(folders.find(':', from), folders.size());
            const std::string folder = folders.substr(from, to - from);
            const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
            if (executable(candidate)) return candidate;
            from = to + 1;
        }
    }
    return {};
}

// A file: URL of an absolute path, every byte outside the unreserved set and "/" percent-encoded.
std::string fileUrl(const std::string& path)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') url += c;
        else url += std::string("%") + hex[u >> 4] + hex[u & 15];
    }
    return url;
}

std::string readAll(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream whole;
    whole << in.rdbuf();
    return std::move(whole).str();
}

// Runs the browser with its output into `logName`; its exit status, or -1 when it could not be
// started or did not end within the time limit (it is then killed).
int runBrowser(const std::vector<std::string>& arguments, const std::string& logName)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        const int log = ::open(logName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int nothing = ::open("/dev/null", O_RDONLY);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        if (nothing >= 0) ::dup2(nothing, 0);
        ::setpgid(0, 0);   // its helpers form one group, ended together on a time-out
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + printTimeLimit;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR) return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace

std::string printReportPdf(const CaseData& data, const std::string& browser)
{
    const std::string program = browser.empty() ? findBrowser() : browser;
    if (program.empty())
        return "no Chromium or Chrome found on PATH to print " + reportPdfName(data) +
               " (install chromium, or name one with --browser PATH); " + reportHtmlName(data) + " is written";
    if (!executable(program)) return "the browser " + program + " is not an executable program";

    std::error_code error;
    const fs::path html = fs::absolute(reportHtmlName(data), error);
    std::string folderTemplate = (fs::temp_directory_path(error) / "tarnova-pdf-XXXXXX").string();
    if (::mkdtemp(folderTemplate.data()) == nullptr)
        return "no temporary folder for the browser: " + std::string(std::strerror(errno));
    const std::string folder = folderTemplate;
    const std::string printed = folder + "/report.pdf";
    const std::string log = folder + "/browser.log";
    const std::vector<std::string> arguments = {
        program, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--disable-extensions", "--no-default-browser-check", "--user-data-dir=" + folder + "/profile",
        "--no-pdf-header-footer", "--print-to-pdf-no-header", "--print-to-pdf=" + printed, fileUrl(html.string())};
    const int status = runBrowser(arguments, log);
    std::string failure;
    const std::string pdf = readAll(printed);
    if (pdf.rfind("%PDF-", 0) != 0) {
        std::string said = readAll(log);
        if (said.size() > 600) said = "..." + said.substr(said.size() - 600);
        failure = program + (status < 0 ? " did not run to its end" : " ended with status " + std::to_string(status)) +
                  " and printed no PDF" + (said.empty() ? "" : ": " + said);
    } else {
        std::string reason;
        if (!replaceFile(reportPdfName(data), pdf, &reason))
            failure = reportPdfName(data) + " could not be written" + (reason.empty() ? "" : ": " + reason);
    }
    fs::remove_all(folder, error);
    return failure;
}

} // namespace tarnova::flexura

#endif
