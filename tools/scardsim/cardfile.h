#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

// The simulated card: its 255 bytes of memory kept in one file, present while a card is in the
// terminal. The library and the command-line tool agree on the file through SCARDSIM_CARD.
namespace CardFile {

constexpr std::size_t memorySize = 255;

inline std::string path()
{
    if (const char* set = std::getenv("SCARDSIM_CARD"); set && *set)
        return set;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/scardsim-card.bin";
    return "/tmp/scardsim-" + std::to_string(getuid()) + "-card.bin";
}

// What tells one inserted card from another: a new insertion replaces the file.
struct State {
    bool present = false;
    ino_t inode = 0;
    std::int64_t modified = 0;
    off_t size = 0;
    bool operator==(const State&) const = default;
};

inline State state(const std::string& file)
{
    struct stat s {};
    if (stat(file.c_str(), &s) != 0)
        return {};
    return {true, s.st_ino, std::int64_t(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec, s.st_size};
}

inline std::optional<std::vector<std::uint8_t>> read(const std::string& file)
{
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::vector<std::uint8_t> memory(memorySize, 0xFF);
    const std::size_t got = std::fread(memory.data(), 1, memorySize, f);
    std::fclose(f);
    memory.resize(std::max(got, memorySize), 0xFF);
    return memory;
}

// Replaces the file as a whole, so that a reader never sees half a card.
inline bool write(const std::string& file, const std::vector<std::uint8_t>& memory)
{
    const std::string temporary = file + ".new";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(memory.data(), 1, memory.size(), f) == memory.size();
    if (std::fclose(f) != 0 || !written) {
        std::remove(temporary.c_str());
        return false;
    }
    return std::rename(temporary.c_str(), file.c_str()) == 0;
}

// A card the terminal handed to a program stays locked to it until the program sends
// "Card,Unlock,"; the mark is a file beside the card, so that tests and the tool can see it.
inline std::string lockPath()
{
    return path() + ".locked";
}

inline void setLocked(bool locked)
{
    if (!locked) {
        std::remove(lockPath().c_str());
        return;
    }
    if (FILE* f = std::fopen(lockPath().c_str(), "wb"))
        std::fclose(f);
}

inline bool locked()
{
    return state(lockPath()).present;
}

} // namespace CardFile
