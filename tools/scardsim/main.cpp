// scardsim: puts a card into the simulated terminal, takes it out or shows it.
//
//   scardsim insert FILE                      a raw card image (at most 255 bytes)
//   scardsim member NUMBER SURNAME FIRSTNAME  a member card
//   scardsim employee USER PASSWORD           an employee card
//   scardsim remove | dump | path | locked
//
// The card file is SCARDSIM_CARD, as for the library loaded by the program.

#include "cardfile.h"
#include "cards/cardlayouts.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: scardsim insert FILE | member NUMBER SURNAME FIRSTNAME | "
                         "employee USER PASSWORD | remove | dump | path | locked\n");
    return 2;
}

// As the card writer does: cleared to 0xFF, then the record from address 0.
std::vector<std::uint8_t> card(const QByteArray& record)
{
    std::vector<std::uint8_t> memory(CardFile::memorySize, 0xFF);
    std::copy(record.begin(), record.begin() + std::min<qsizetype>(record.size(), qsizetype(memory.size())),
              memory.begin());
    return memory;
}

int insert(const std::vector<std::uint8_t>& memory)
{
    if (!CardFile::write(CardFile::path(), memory)) {
        std::fprintf(stderr, "scardsim: cannot write %s\n", CardFile::path().c_str());
        return 1;
    }
    std::printf("card inserted (%s)\n", CardFile::path().c_str());
    return 0;
}

int dump()
{
    const auto memory = CardFile::read(CardFile::path());
    if (!memory) {
        std::printf("no card in the terminal\n");
        return 1;
    }
    for (std::size_t row = 0; row < memory->size(); row += 16) {
        std::printf("%3zu ", row);
        std::string text;
        for (std::size_t i = row; i < row + 16; ++i) {
            if (i < memory->size()) {
                std::printf(" %02x", (*memory)[i]);
                text += (*memory)[i] >= 32 && (*memory)[i] < 127 ? char((*memory)[i]) : '.';
            } else {
                std::printf("   ");
            }
        }
        std::printf("  %s\n", text.c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage();
    const std::string& verb = args[0];
    if (verb == "insert" && args.size() == 2) {
        FILE* f = std::fopen(args[1].c_str(), "rb");
        if (!f) {
            std::fprintf(stderr, "scardsim: cannot read %s\n", args[1].c_str());
            return 1;
        }
        std::vector<std::uint8_t> memory(CardFile::memorySize, 0xFF);
        const std::size_t got = std::fread(memory.data(), 1, memory.size(), f);
        std::fclose(f);
        (void)got;
        return insert(memory);
    }
    if (verb == "member" && args.size() == 4) {
        char* end = nullptr;
        const long long number = std::strtoll(args[1].c_str(), &end, 10);
        if (*end != '\0')
            return usage();
        return insert(card(CardLayout::Mitgliedskarte(
            {number, QString::fromLocal8Bit(args[2].c_str()), QString::fromLocal8Bit(args[3].c_str())})));
    }
    if (verb == "employee" && args.size() == 3)
        return insert(card(CardLayout::Angestelltenkarte(
            {QString::fromLocal8Bit(args[1].c_str()), QString::fromLocal8Bit(args[2].c_str())})));
    if (verb == "remove" && args.size() == 1) {
        std::remove(CardFile::path().c_str());
        std::printf("card removed\n");
        return 0;
    }
    if (verb == "dump" && args.size() == 1)
        return dump();
    if (verb == "locked" && args.size() == 1) {
        // Exit code 0 while a program holds the card without having unlocked it.
        const bool held = CardFile::locked();
        std::printf("%s\n", held ? "locked" : "unlocked");
        return held ? 0 : 1;
    }
    if (verb == "path" && args.size() == 1) {
        std::printf("%s\n", CardFile::path().c_str());
        return 0;
    }
    return usage();
}
