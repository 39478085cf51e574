#include "imaging/codecs/hevcdecoder.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <libde265/de265.h>
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

namespace tessaly {

namespace {

// Above libheif's own libde265 decoder, which asks for 100.
constexpr int kPriority = 200;

heif_error failure(heif_suberror_code code, const char* message)
{
    return heif_error{heif_error_Decoder_plugin_error, code, message};
}

const heif_error kOk{heif_error_Ok, heif_suberror_Unspecified, "Success"};

// Warnings that say nothing about the coded data: about threads and about
// the warning list itself, and an SEI message that cannot be read.
bool harmless(de265_error warning)
{
    return warning == DE265_WARNING_NO_WPP_CANNOT_USE_MULTITHREADING || warning == DE265_WARNING_WARNING_BUFFER_FULL ||
           warning == DE265_WARNING_NUMBER_OF_THREADS_LIMITED_TO_MAXIMUM ||
           warning == DE265_WARNING_SPS_MISSING_CANNOT_DECODE_SEI;
}

const char* pluginName()
{
    return "libde265 with damage checks";
}

int supportsFormat(heif_compression_format format)
{
    return format == heif_compression_HEVC ? kPriority : 0;
}

heif_error newDecoder(void** decoder)
{
    // No worker threads: the decoder program decodes one picture at a time,
    // and libde265 decodes a still picture on its own thread as fast.
    *decoder = de265_new_decoder();
    return *decoder ? kOk : failure(heif_suberror_Unspecified, "cannot start the HEVC decoder");
}

void freeDecoder(void* decoder)
{
    de265_free_decoder(static_cast<de265_decoder_context*>(decoder));
}

// libheif hands over the parameter sets and the picture's data as NAL units,
// each after its length in four bytes.
heif_error pushData(void* decoder, const void* data, size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t at = 0;
    while (at < size) {
        if (size - at < 4)
            return failure(heif_suberror_End_of_data, "HEVC data ends inside a length");
        const std::uint32_t length =
            std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 | std::uint32_t(bytes[at + 2]) << 8 |
            bytes[at + 3];
        at += 4;
        if (length > size - at || length > std::uint32_t(INT_MAX))
            return failure(heif_suberror_End_of_data, "HEVC data is shorter than its NAL unit says");
        if (de265_push_NAL(static_cast<de265_decoder_context*>(decoder), bytes + at, int(length), 0, nullptr) !=
            DE265_OK)
            return failure(heif_suberror_Unspecified, "HEVC decoder refused the data");
        at += length;
    }
    return kOk;
}

// libde265's picture as libheif's: the same planes at the same depth, and
// the colour description of the stream, as libheif's own decoder gives it.
heif_error toHeifImage(const de265_image* picture, heif_image** out)
{
    const de265_chroma chroma = de265_get_chroma_format(picture);
    const bool mono = chroma == de265_chroma_mono;
    heif_image* image = nullptr;
    // libheif numbers its chroma formats as libde265 does.
    heif_error error = heif_image_create(de265_get_image_width(picture, 0), de265_get_image_height(picture, 0),
                                         mono ? heif_colorspace_monochrome : heif_colorspace_YCbCr,
                                         static_cast<heif_chroma>(chroma), &image);
    if (error.code != heif_error_Ok)
        return error;
    const heif_channel channels[] = {heif_channel_Y, heif_channel_Cb, heif_channel_Cr};
    for (int c = 0; c < (mono ? 1 : 3); ++c) {
        const int width = de265_get_image_width(picture, c);
        const int height = de265_get_image_height(picture, c);
        const int depth = de265_get_bits_per_pixel(picture, c);
        int inStride = 0;
        const std::uint8_t* in = de265_get_image_plane(picture, c, &inStride);
        if (width <= 0 || height <= 0 || !in) {
            heif_image_release(image);
            return failure(heif_suberror_Invalid_image_size, "HEVC picture has an empty plane");
        }
        error = heif_image_add_plane(image, channels[c], width, height, depth);
        if (error.code != heif_error_Ok) {
            heif_image_release(image);
            return failure(heif_suberror_Unspecified, "cannot hold the HEVC picture");
        }
        int outStride = 0;
        std::uint8_t* outPlane = heif_image_get_plane(image, channels[c], &outStride);
        const std::size_t rowBytes = std::size_t(width) * std::size_t((depth + 7) / 8);
        for (int y = 0; y < height; ++y)
            std::memcpy(outPlane + std::size_t(y) * std::size_t(outStride), in + std::size_t(y) * std::size_t(inStride),
                        rowBytes);
    }
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (nclx) {
        // Codes the format does not know leave libheif's defaults.
        heif_nclx_color_profile_set_color_primaries(nclx, std::uint16_t(de265_get_image_colour_primaries(picture)));
        heif_nclx_color_profile_set_transfer_characteristics(
            nclx, std::uint16_t(de265_get_image_transfer_characteristics(picture)));
        heif_nclx_color_profile_set_matrix_coefficients(nclx,
                                                        std::uint16_t(de265_get_image_matrix_coefficients(picture)));
        nclx->full_range_flag = std::uint8_t(de265_get_image_full_range_flag(picture) != 0);
        heif_image_set_nclx_color_profile(image, nclx);
        heif_nclx_color_profile_free(nclx);
    }
    *out = image;
    return kOk;
}

heif_error decodeImage(void* decoder, heif_image** out)
{
    auto* context = static_cast<de265_decoder_context*>(decoder);
    *out = nullptr;
    de265_flush_data(context);
    int more = 1;
    while (more) {
        more = 0;
        const de265_error error = de265_decode(context, &more);
        // All the data is in: waiting for more ends the decoding, and the
        // picture decides.
        if (error == DE265_ERROR_WAITING_FOR_INPUT_DATA)
            break;
        if (error != DE265_OK) {
            if (*out)
                heif_image_release(*out);
            *out = nullptr;
            return failure(heif_suberror_Unspecified, de265_get_error_text(error));
        }
        for (de265_error warning = de265_get_warning(context); warning != DE265_OK;
             warning = de265_get_warning(context)) {
            if (harmless(warning))
                continue;
            if (*out)
                heif_image_release(*out);
            *out = nullptr;
            return failure(heif_suberror_Unspecified, de265_get_error_text(warning));
        }
        if (const de265_image* picture = de265_get_next_picture(context)) {
            // An item holds one picture; a further one would replace it.
            if (*out)
                heif_image_release(*out);
            *out = nullptr;
            const heif_error converted = toHeifImage(picture, out);
            de265_release_next_picture(context);
            if (converted.code != heif_error_Ok)
                return converted;
        }
    }
    return *out ? kOk : failure(heif_suberror_End_of_data, "HEVC data holds no picture");
}

// Always strict: a picture with undecoded parts is refused whatever libheif
// asks for (it asks for nothing on the tiles of a grid).
void setStrictDecoding(void*, int) {}

const heif_decoder_plugin kPlugin = {
    3,  // the plugin interface of libheif 1.15
    pluginName,
    nullptr,
    nullptr,
    supportsFormat,
    newDecoder,
    freeDecoder,
    pushData,
    decodeImage,
    setStrictDecoding,
    "libde265-strict",
};

}  // namespace

void useStrictHevcDecoder()
{
    static const bool registered = [] {
        return heif_register_decoder_plugin(&kPlugin).code == heif_error_Ok;
    }();
    (void)registered;
}

}  // namespace tessaly
