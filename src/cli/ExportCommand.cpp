#include "cli/ExportCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numeric>
#include <sstream>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "cli/Cli.h"
#include "cli/CommandOpen.h"
#include "cli/HeadlessScene.h"
#include "cli/InOutArguments.h"
#include "gltf/DocumentExport.h"

namespace cli {

namespace {

constexpr char kUsage[] = "usage: pavrix --export IN OUT [--animation SET]\n"
                          "       pavrix --export IN_DIR OUT_DIR [-j N]\n";

bool ParseJobs(const std::string& text, int* jobs) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < 1 || n > 256) {
        return false;
    }
    *jobs = int(n);
    return true;
}

class ExportArguments : public InOutArguments {
public:
    ExportArguments()
        : InOutArguments(
              {"--animation needs a set name or a file", "expects an input and an output", "-"}) {}

    int jobs = 0; // 0: one per processor

protected:
    // -j N or -jN.
    int ParseOption(std::span<const std::string> args, std::size_t* i, std::string* why) override {
        const std::string& arg = args[*i];
        if (arg != "-j" && !(arg.size() > 2 && arg.compare(0, 2, "-j") == 0)) {
            return -1;
        }
        const std::string value =
            arg.size() > 2 ? arg.substr(2) : (*i + 1 < args.size() ? args[++*i] : "");
        if (!ParseJobs(value, &jobs)) {
            *why = "-j needs a number of processes from 1 to 256";
            return 0;
        }
        return 1;
    }
};

/// The one-file export; messages go to err.
int ExportFile(const ExportArguments& parsed, std::ostream& err) {
    HeadlessScene scene(err);
    scene::SceneDocument& doc = scene.document;
    if (!OpenCommandDocument(doc, parsed.in, parsed.hasAnimation ? &parsed.animation : nullptr,
                             AnimationArgument::SetNameOrFile, err)) {
        return kExitFailed;
    }
    gltf::ExportOptions options;
    options.currentSetOnly = parsed.hasAnimation;
    std::string error;
    std::vector<std::string> warnings;
    if (!gltf::ExportDocument(parsed.out.c_str(), doc, options, &error, &warnings)) {
        err << "pavrix: cannot export " << parsed.in << " to " << parsed.out << ": " << error
            << '\n';
        return kExitFailed;
    }
    for (const std::string& warning : warnings) {
        err << "pavrix: " << parsed.in << ": " << warning << '\n';
    }
    return kExitOk;
}

bool IsXFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".x";
}

/// One file's export in a child process; its messages are kept in a file of their own.
struct Job {
    std::filesystem::path in;
    std::filesystem::path out;
    std::FILE* messages = nullptr;
};

int ExportFolder(const ExportArguments& parsed, std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    std::vector<Job> jobs;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(parsed.in, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->is_regular_file(ec) && IsXFile(it->path())) {
            fs::path target = fs::path(parsed.out) / fs::relative(it->path(), parsed.in, ec);
            target.replace_extension(".glb");
            jobs.push_back({it->path(), target, nullptr});
        }
    }
    if (ec) {
        err << "pavrix: cannot read the folder " << parsed.in << ": " << ec.message() << '\n';
        return kExitFailed;
    }
    // The largest files start first, so the processes finish together rather than one
    // large file running alone at the end.
    std::vector<std::uintmax_t> sizes;
    for (const Job& job : jobs) {
        const std::uintmax_t size = fs::file_size(job.in, ec);
        sizes.push_back(ec ? 0 : size);
    }
    std::vector<std::size_t> order(jobs.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return sizes[a] != sizes[b] ? sizes[a] > sizes[b] : jobs[a].in < jobs[b].in;
    });
    std::vector<Job> sorted;
    for (std::size_t index : order) {
        sorted.push_back(jobs[index]);
    }
    jobs.swap(sorted);
    ec.clear();
    const std::size_t parallel =
        parsed.jobs > 0 ? std::size_t(parsed.jobs)
                        : std::max<std::size_t>(1, std::thread::hardware_concurrency());
    const bool terminal = isatty(STDOUT_FILENO) != 0;

    std::map<pid_t, std::size_t> running;
    std::vector<std::pair<std::size_t, std::string>> failures;
    std::size_t next = 0, done = 0;
    out.flush();
    err.flush();
    while (done < jobs.size()) {
        while (next < jobs.size() && running.size() < parallel) {
            Job& job = jobs[next];
            fs::create_directories(job.out.parent_path(), ec);
            job.messages = std::tmpfile();
            const pid_t pid = fork();
            if (pid == 0) {
                // The child exports one file and leaves without running the parent's
                // destructors.
                ExportArguments one = parsed;
                one.in = job.in.string();
                one.out = job.out.string();
                std::ostringstream messages;
                const int status = ExportFile(one, messages);
                if (job.messages) {
                    const std::string text = messages.str();
                    std::fwrite(text.data(), 1, text.size(), job.messages);
                    std::fflush(job.messages);
                }
                _exit(status);
            }
            if (pid < 0) {
                failures.emplace_back(next, "pavrix: cannot start a process for it\n");
                ++done;
            } else {
                running.emplace(pid, next);
            }
            ++next;
        }
        if (running.empty()) {
            continue;
        }
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        const auto found = running.find(pid);
        if (found == running.end()) {
            continue;
        }
        const std::size_t index = found->second;
        running.erase(found);
        ++done;
        Job& job = jobs[index];
        std::string messages;
        if (job.messages) {
            std::rewind(job.messages);
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, job.messages)) > 0;) {
                messages.append(buffer, n);
            }
            std::fclose(job.messages);
            job.messages = nullptr;
        }
        const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == kExitOk;
        if (!ok) {
            if (WIFSIGNALED(status)) {
                messages += "pavrix: " + job.in.string() + ": the export stopped on signal " +
                            std::to_string(WTERMSIG(status)) + '\n';
            }
            failures.emplace_back(index, messages);
        } else if (!messages.empty()) {
            err << messages;
        }
        out << (terminal ? "\r\033[K" : "") << "[" << done << '/' << jobs.size() << "] "
            << job.in.string() << (terminal ? "" : "\n");
        out.flush();
    }
    if (terminal && !jobs.empty()) {
        out << '\n';
    }
    out << "pavrix: exported " << jobs.size() - failures.size() << " of " << jobs.size()
        << " files to " << parsed.out << '\n';
    if (!failures.empty()) {
        std::sort(failures.begin(), failures.end(), [&](const auto& a, const auto& b) {
            return jobs[a.first].in < jobs[b.first].in;
        });
        err << "pavrix: " << failures.size() << " files could not be exported:\n";
        for (const auto& [index, messages] : failures) {
            err << "  " << jobs[index].in.string() << '\n' << messages;
        }
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int RunExport(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    ExportArguments parsed;
    std::string why;
    if (!parsed.Parse(args, &why)) {
        err << "pavrix: --export " << why << '\n' << kUsage;
        return kExitUsage;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(parsed.in, ec)) {
        if (parsed.hasAnimation) {
            err << "pavrix: --export --animation names a set of one file, not of a folder\n"
                << kUsage;
            return kExitUsage;
        }
        return ExportFolder(parsed, out, err);
    }
    if (parsed.jobs > 0) {
        err << "pavrix: --export -j is for a folder of files\n" << kUsage;
        return kExitUsage;
    }
    return ExportFile(parsed, err);
}

} // namespace cli
