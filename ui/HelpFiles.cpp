#include "HelpFiles.h"

#include "Common.h"

#include <filesystem>

std::vector<std::string> HelpFolders() {
    return {ProgramFolder(), WithTrailingSeparator(TAPEWREN_DATA_DIR)};
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
