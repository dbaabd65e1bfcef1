// libgsf first: its GLib headers must not meet Qt's keyword macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include "olecontainer.h"

namespace OleContainer {

std::string singleStreamDocument(const std::string& streamName, const char* data, std::size_t size,
                                 std::string& failure)
{
    gsf_init();
    failure.clear();
    GsfOutput* sink = gsf_output_memory_new();
    if (sink == nullptr) {
        failure = "The document can not be created";
        return {};
    }
    GsfOutfile* document = gsf_outfile_msole_new(sink);
    GsfOutput* stream = gsf_outfile_new_child(document, streamName.c_str(), FALSE);
    if (stream == nullptr) {
        failure = "The stream can not be created";
    } else {
        if (!gsf_output_write(stream, size, reinterpret_cast<const guint8*>(data)))
            failure = "The stream can not be written";
        if (!gsf_output_close(stream) && failure.empty())
            failure = "The stream can not be completed";
        g_object_unref(stream);
    }
    if (!gsf_output_close(GSF_OUTPUT(document)) && failure.empty()) {
        const GError* closeError = gsf_output_error(GSF_OUTPUT(document));
        failure = closeError != nullptr && closeError->message != nullptr
                      ? closeError->message
                      : "The document can not be completed";
    }
    g_object_unref(document);
    std::string bytes;
    if (failure.empty()) {
        const guint8* content = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
        const gsf_off_t length = gsf_output_size(sink);
        if (content != nullptr && length > 0)
            bytes.assign(reinterpret_cast<const char*>(content), std::size_t(length));
        else
            failure = "The document is empty";
    }
    g_object_unref(sink);
    return bytes;
}

} // namespace OleContainer
