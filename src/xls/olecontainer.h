#pragma once

#include <cstddef>
#include <string>

// Writes one stream into a new compound document (the container Excel 5.0 and 97 files live in).
// Kept free of Qt types: the unit behind it includes libgsf, whose GLib headers clash with Qt's
// keywords. On failure the returned text describes what the system refused; empty means written.
namespace OleContainer {

std::string writeSingleStream(const std::string& fileName, const std::string& streamName, const char* data,
                              std::size_t size);

} // namespace OleContainer
