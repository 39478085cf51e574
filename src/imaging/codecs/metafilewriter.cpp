#include "imaging/codecs/metafilecodec.h"

#include "imaging/codecs/codecerror.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <uemf.h>
#include <uwmf.h>

// The writers live apart from the readers: libUEMF and libwmf both declare
// a C function named wmf_free.

namespace tessaly {

namespace {

// A packed 24-bit bottom-up DIB of the bitmap, rows padded to four bytes.
QByteArray dibPixels(const Bitmap& bitmap)
{
    const std::size_t rowSize = (bitmap.rowBytes() + 3) & ~std::size_t(3);
    QByteArray pixels(qsizetype(rowSize * std::size_t(bitmap.height())), '\0');
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(pixels.data() + rowSize * std::size_t(bitmap.height() - 1 - y), bitmap.row(y), bitmap.rowBytes());
    return pixels;
}

int frameHundredthsOfMm(int pixels)
{
    return int(std::lround(double(pixels) * 2540.0 / kScreenDpi));
}

}  // namespace

QByteArray encodeEmf(const Bitmap& bitmap)
{
    if (bitmap.isEmpty())
        throw CodecError("cannot write an empty picture as a metafile");
    const int w = bitmap.width(), h = bitmap.height();
    QByteArray pixels = dibPixels(bitmap);
    const U_RECTL bounds{0, 0, w - 1, h - 1};
    const U_RECTL frame{0, 0, frameHundredthsOfMm(w), frameHundredthsOfMm(h)};
    // Creator, NUL, an empty description, and the two closing NULs.
    std::uint16_t description[16] = {u'Q', u'u', u'o', u'r', u'v', u'a', u'n', u'e',
                                     u' ', u'2', u'0', u'0', u'0', 0,    0,    0};
    const U_SIZEL device{1024, 768};
    const U_SIZEL millimetres{270, 203};

    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;
    if (emf_start("/dev/null", std::uint32_t(pixels.size() + 4096), 65536, &track) != 0 ||
        emf_htable_create(16, 16, &handles) != 0) {
        emf_free(&track);
        throw CodecError("cannot start an enhanced metafile");
    }
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(w, h, 1, U_BCBM_COLOR24, U_BI_RGB, std::uint32_t(pixels.size()), 3780, 3780, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    bool ok = emf_append(reinterpret_cast<U_ENHMETARECORD*>(
                             U_EMRHEADER_set(bounds, frame, nullptr, 16, description, device, millimetres, 0)),
                         track, U_REC_FREE) == 0;
    ok = ok && emf_append(reinterpret_cast<U_ENHMETARECORD*>(U_EMRSTRETCHDIBITS_set(
                              bounds, U_POINTL{0, 0}, U_POINTL{w, h}, U_POINTL{0, 0}, U_POINTL{w, h}, U_DIB_RGB_COLORS,
                              U_SRCCOPY, info, std::uint32_t(pixels.size()), pixels.data())),
                          track, U_REC_FREE) == 0;
    ok = ok && emf_append(reinterpret_cast<U_ENHMETARECORD*>(U_EMREOF_set(0, nullptr, track)), track, U_REC_FREE) == 0;
    std::free(info);
    // emf_finish puts the size, record count and handle count into the
    // header of the buffer (and writes it to the null device).
    ok = ok && emf_finish(track, handles) == 0;
    QByteArray result = ok ? QByteArray(track->buf, qsizetype(track->used)) : QByteArray();
    emf_free(&track);
    emf_htable_free(&handles);
    if (!ok)
        throw CodecError("cannot write the enhanced metafile");
    return result;
}

QByteArray encodeWmf(const Bitmap& bitmap)
{
    if (bitmap.isEmpty() || bitmap.width() > 32767 || bitmap.height() > 32767)
        throw CodecError("cannot write this picture as a Windows metafile");
    const auto w = std::int16_t(bitmap.width()), h = std::int16_t(bitmap.height());
    QByteArray pixels = dibPixels(bitmap);

    // The records come from libUEMF and are joined here: its file tracker
    // shares the C name wmf_free with libwmf, and the wrong one is linked.
    QByteArray file;
    std::uint32_t largestWords = 0;
    const auto append = [&](char* record, qsizetype size) {
        if (!record)
            throw CodecError("cannot write the Windows metafile");
        file.append(record, size);
        std::free(record);
        largestWords = std::max(largestWords, std::uint32_t(size / 2));
    };
    const auto appendRecord = [&](char* record) {
        if (!record)
            throw CodecError("cannot write the Windows metafile");
        std::uint32_t words = 0;
        std::memcpy(&words, record, 4);
        append(record, qsizetype(words) * 2);
    };

    // Placeable header (22 bytes) and standard header (18 bytes): the
    // picture in pixels at 96 units per inch.
    U_PAIRF* size = U_PAIRF_set(float(w) / kScreenDpi, float(h) / kScreenDpi);
    char* headers = U_WMRHEADER_set(size, kScreenDpi);
    std::free(size);
    if (!headers)
        throw CodecError("cannot write the Windows metafile");
    file.append(headers, 22 + 18);
    std::free(headers);
    largestWords = 0;

    appendRecord(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
    appendRecord(U_WMRSETWINDOWEXT_set(U_POINT16{w, h}));
    appendRecord(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(w, h, 1, U_BCBM_COLOR24, U_BI_RGB, std::uint32_t(pixels.size()), 3780, 3780, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    char* stretch = U_WMRSTRETCHDIB_set(U_POINT16{0, 0}, U_POINT16{w, h}, U_POINT16{0, 0}, U_POINT16{w, h},
                                        U_DIB_RGB_COLORS, U_SRCCOPY, info, std::uint32_t(pixels.size()), pixels.data());
    std::free(info);
    appendRecord(stretch);
    appendRecord(U_WMREOF_set());

    // The standard header holds the file's size in 16-bit words (from the
    // standard header on) and its largest record.
    const std::uint32_t fileWords = std::uint32_t((file.size() - 22) / 2);
    for (int i = 0; i < 4; ++i) {
        file[22 + 6 + i] = char((fileWords >> (8 * i)) & 0xff);
        file[22 + 12 + i] = char((largestWords >> (8 * i)) & 0xff);
    }
    return file;
}

}  // namespace tessaly
