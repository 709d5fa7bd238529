#pragma once

#include <string>
#include <vector>

// Where the guide and the FAQ page are looked up, in order: beside the
// executable, then the installed data folder.
std::vector<std::string> HelpFolders();

// The first of the folders that holds the file, joined with its name; empty
// when none does.
std::string FindHelpFile(const std::string& name,
                         const std::vector<std::string>& folders = HelpFolders());
