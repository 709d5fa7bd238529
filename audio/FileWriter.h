#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Where a recording's MP3 bytes go. Tests put a writer that fails after a
// number of bytes in its place, as a full disk would.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // All bytes or false.
    virtual bool Write(const uint8_t* data, size_t size) = 0;
    virtual bool Close() = 0;
};

// Creates the file new and exclusively; null when it exists or cannot be made.
std::unique_ptr<FileWriter> CreateNewFile(const std::string& path);
