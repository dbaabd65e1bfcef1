#pragma once

#include <cstddef>
#include <string>

// Builds a compound document (the container Excel 5.0 and 97 files live in) holding one stream, in
// memory, so that the caller decides where and how the file is written. Kept free of Qt types: the
// unit behind it includes libgsf, whose GLib headers clash with Qt's keywords.
namespace OleContainer {

// The document's bytes; on failure empty, with failure describing it.
std::string singleStreamDocument(const std::string& streamName, const char* data, std::size_t size,
                                 std::string& failure);

} // namespace OleContainer
