// Metafiles through libemf2svg and libwmf, each in a child process of its own.
#include "pictures/metafile_decoder.h"

#include <cstdlib>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace glidtavla {

namespace {

std::string EnhancedMetafileToSvg(std::string bytes) {
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.emfplus = true;
    options.svgDelimiter = true;
    char* svg = nullptr;
    size_t length = 0;
    if (emf2svg(bytes.data(), bytes.size(), &svg, &length, &options) == 0 || svg == nullptr) {
        free(svg);
        return "";
    }
    std::string out(svg, length);
    free(svg);
    return out;
}

// The SVG device writes embedded bitmaps to files it names; there are none to write.
char* NoImageFile(void*) {
    return nullptr;
}

std::string WindowsMetafileToSvg(std::string bytes) {
    wmfAPI* api = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api != nullptr) wmf_api_destroy(api);
        return "";
    }
    std::string out;
    wmfD_Rect bbox{};
    unsigned int width = 0, height = 0;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(bytes.data()),
                     static_cast<long>(bytes.size())) == wmf_E_None &&
        wmf_scan(api, 0, &bbox) == wmf_E_None &&
        wmf_display_size(api, &width, &height, 96, 96) == wmf_E_None && width > 0 && height > 0 &&
        width <= unsigned(kMaxPictureSide) && height <= unsigned(kMaxPictureSide)) {
        wmf_svg_t* device = WMF_SVG_GetData(api);
        device->out = wmf_stream_create(api, nullptr);
        device->Description = const_cast<char*>("Glidtavla");
        device->bbox = bbox;
        device->width = width;
        device->height = height;
        device->image.context = nullptr;
        device->image.name = NoImageFile;
        if (wmf_play(api, 0, &bbox) == wmf_E_None) {
            char* svg = nullptr;
            unsigned long length = 0;
            wmf_stream_destroy(api, device->out, &svg, &length);
            if (svg != nullptr) out.assign(svg, length);
            wmf_free(api, svg);
        }
    }
    wmf_api_destroy(api);
    return out;
}

}  // namespace

std::string MetafileToSvg(const std::string& bytes, MetafileFormat format) {
    return format == MetafileFormat::Enhanced ? EnhancedMetafileToSvg(bytes)
                                              : WindowsMetafileToSvg(bytes);
}

}  // namespace glidtavla
