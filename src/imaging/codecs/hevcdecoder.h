#pragma once

namespace tessaly {

// libheif 1.15's own HEVC decoder (libde265) passes over libde265's
// warnings: coded data that ends early or does not parse decodes to a
// picture whose undecoded blocks stay green or grey, and the tiles of a
// grid are decoded without even its strict mode. This makes libheif decode
// HEVC, from then on and for every file, through a decoder of ours over the
// same libde265 that turns every warning about the coded data into an
// error (heif_error_Decoder_plugin_error, with libde265's text). Safe to
// call more than once and from several threads.
void useStrictHevcDecoder();

}  // namespace tessaly
