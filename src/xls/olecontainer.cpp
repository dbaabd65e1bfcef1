// libgsf first: its GLib headers must not meet Qt's keyword macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include "olecontainer.h"

namespace OleContainer {

namespace {

std::string takeMessage(GError* error, const char* fallback)
{
    std::string text = error != nullptr && error->message != nullptr ? error->message : fallback;
    if (error != nullptr)
        g_error_free(error);
    return text;
}

} // namespace

std::string writeSingleStream(const std::string& fileName, const std::string& streamName, const char* data,
                              std::size_t size)
{
    gsf_init();
    GError* error = nullptr;
    GsfOutput* sink = gsf_output_stdio_new(fileName.c_str(), &error);
    if (sink == nullptr)
        return takeMessage(error, "The file can not be created");

    GsfOutfile* document = gsf_outfile_msole_new(sink);
    g_object_unref(sink);
    GsfOutput* stream = gsf_outfile_new_child(document, streamName.c_str(), FALSE);
    std::string failure;
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
        failure = closeError != nullptr && closeError->message != nullptr ? closeError->message
                                                                          : "The file can not be completed";
    }
    g_object_unref(document);
    return failure;
}

} // namespace OleContainer
