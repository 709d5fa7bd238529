#pragma once

#include <functional>
#include <string>

// Opens a document or web address with the desktop's default action. The
// outcome is deliberately ignored: a missing help file is not worth a message.
void OpenWithShell(const std::string& target);

// Tests replace the desktop hand-off so that nothing real is opened.
void SetShellOpener(std::function<void(const std::string&)> opener);
