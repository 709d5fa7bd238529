#include "HelpFiles.h"

#include "Common.h"

#include <filesystem>

std::vector<std::string> HelpFolders() {
    // Beside a build or an unpacked folder; in the data folder of the prefix
    // the program was built for; and in the one beside the executable's own
    // bin/, so that a moved installation still finds its guide.
    return {ProgramFolder(), WithTrailingSeparator(TAPEWREN_DATA_DIR),
            ProgramFolder() + "../share/tapewren/"};
}

std::string FindHelpFile(const std::string& name, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = WithTrailingSeparator(folder) + name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec))
            return path;
    }
    return {};
}
