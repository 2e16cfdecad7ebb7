#include "app/cli/CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/cli/CheckCommand.h"
#include "app/cli/ConvertCommand.h"
#include "app/cli/DiffCommand.h"
#include "app/cli/ExportGltfCommand.h"
#include "app/cli/ExportModelCommand.h"
#include "app/cli/ExportTexturesCommand.h"
#include "app/cli/InfoCommand.h"
#include "app/cli/RenderCommand.h"
#include "app/cli/ThumbnailCommand.h"
#include "level/LevelLimits.h"
#include "storage/OutputFiles.h"

namespace grottix {

namespace {

constexpr const char* kUsage =
    "Usage: grottix-viewer [LEVEL]\n"
    "       grottix-viewer --info LEVEL [--json]\n"
    "       grottix-viewer --check LEVEL [--json]\n"
    "       grottix-viewer --diff A B [--json]\n"
    "       grottix-viewer --convert IN OUT\n"
    "       grottix-viewer --export-textures LEVEL DIR [--format bmp|tga|ppm|png]\n"
    "       grottix-viewer --export-gltf LEVEL OUT.glb [--light F] [--no-items] [--nearest]\n"
    "                      [--sprites crossed|flat] [--verbose] [--flip [GROUP]] [--animations] [--all-items]\n"
    "       grottix-viewer --export-model LEVEL TYPE OUT.glb [--light F] [--nearest]\n"
    "       grottix-viewer --render OUT LEVEL [--size WxH] [--light F] [--eye X,Y,Z] [--angles P,Y,R]\n"
    "                      [--goto-item N | --goto-room N | --goto-square ROOM,X,Z] [--frames N] [--stats]\n"
    "                      [--opengl] [--no-items] [--no-cull] [--flip [GROUP]] [--time T]\n"
    "       grottix-viewer --thumbnail LEVEL OUT.png SIZE\n"
    "       grottix-viewer --help | --version\n";

using Command = std::function<int(const std::vector<std::string>&)>;

// Each mode takes the arguments that follow its option.
const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"--info", RunInfoCommand},
        {"--check", RunCheckCommand},
        {"--diff", RunDiffCommand},
        {"--convert", RunConvertCommand},
        {"--export-textures", RunExportTexturesCommand},
        {"--export-gltf", RunExportGltfCommand},
        {"--export-model", RunExportModelCommand},
        {"--render", RunRenderCommand},
        {"--thumbnail", RunThumbnailCommand},
    };
    return table;
}

}  // namespace

std::string FailureText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error)) return "out of memory";
    return error.what();
}

namespace {

void sayOutputFailed(int error) {
    std::fprintf(stderr, "grottix-viewer: standard output could not be written whole: %s\n", std::strerror(error));
}

}  // namespace

bool FlushStandardOutput() {
    // A stream that failed already keeps the reason its write left in errno; nothing since has
    // written or cleared it.
    if (std::cout.good()) {
        errno = 0;
        if (std::cout.flush().good() && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    }
    const int error = errno ? errno : EIO;
    std::cout.clear();
    std::clearerr(stdout);
    sayOutputFailed(error);
    return false;
}

void WarnMeshesLeftOut(const std::string& file, size_t count) {
    if (count == 0) return;
    std::fprintf(stderr, "File %s: %zu placed %s left out: static meshes and items place more than %llu faces\n",
                 file.c_str(), count, count == 1 ? "mesh" : "meshes", static_cast<unsigned long long>(kMaxPlacedMeshFaces));
}

bool CheckInputFile(const std::string& path) {
    // Without blocking: opening a pipe for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    std::string reason;
    if (fd < 0 || ::fstat(fd, &info) != 0) reason = std::strerror(errno);
    else if (S_ISDIR(info.st_mode)) reason = std::strerror(EISDIR);
    else if (!S_ISREG(info.st_mode)) reason = "Not a regular file";
    if (fd >= 0) ::close(fd);
    if (!reason.empty()) std::fprintf(stderr, "File %s: %s\n", path.c_str(), reason.c_str());
    return reason.empty();
}

void PrintCommandFailure(const std::exception& error, const std::string& file) {
    const auto* output = dynamic_cast<const EOutputFailure*>(&error);
    const std::string& named = output ? output->File : file;
    if (named.empty())
        std::fprintf(stderr, "grottix-viewer: %s\n", FailureText(error).c_str());
    else
        std::fprintf(stderr, "File %s: %s\n", named.c_str(), FailureText(error).c_str());
}

bool NamesCommand(const std::vector<std::string>& args) {
    return !args.empty() && (args[0].starts_with("--") || args[0] == "-h");
}

int RunCommandLine(const std::vector<std::string>& args) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::puts("Grottix Viewer " GROTTIX_VERSION);
        return 0;
    }
    if (NamesCommand(args)) {
        const auto found = commands().find(args[0]);
        if (found == commands().end()) {
            std::fprintf(stderr, "grottix-viewer: unknown option %s\n%s", args[0].c_str(), kUsage);
            return 2;
        }
        // The commands report their own failures; this is the last line of defence.
        try {
            const int code = found->second(std::vector<std::string>(args.begin() + 1, args.end()));
            // What a command printed must have reached its reader whole, or the command failed; one
            // that failed has said why already.
            if (code == 0) return FlushStandardOutput() ? 0 : 1;
            std::cout.clear();
            std::fflush(stdout);
            std::clearerr(stdout);
            return code;
        } catch (const std::exception& error) {
            PrintCommandFailure(error);
        } catch (...) {
            std::fputs("grottix-viewer: unexpected failure\n", stderr);
        }
        return 1;
    }
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace grottix
