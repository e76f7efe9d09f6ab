#pragma once
// GIF through giflib.
//
// Decoding gives the first frame as a 24-bit picture of the logical screen
// with the frame drawn at its offset (the picture grows to take in a frame
// that does not fit the screen). Pixels outside the frame and transparent
// pixels take the fill colour: the transparent colour when the frame has one,
// else the screen's background colour, the same colour the picture front
// gives the view's background, so the picture melts into it. Every frame is
// counted (params GifImageCount); a damaged record after the first frame ends
// the count, while a first frame whose data ends early is damage.
//
// Encoding writes one GIF89a frame: the exact palette when the picture has at
// most 256 colours, else a median-cut palette of up to 256. With params
// GifHasTransparency, the pixels of exactly GifTransparentColor become
// transparent (the colour keeps a palette entry of its own).
//
// GIF picture data is LZW-coded: decoding needs params.Lzw.GifDecoder and
// encoding params.Lzw.GifEncoder; without them both fail.
#include <functional>
#include <vector>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& GifCodec();

bool ProbeGif(Bytes head, uint64_t streamSize);  // "GIF" and more than 13 bytes
PictureStatus InfoGif(Bytes data, PictureInfo& info);
PictureStatus DecodeGif(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed);
// One frame of an animation as it is shown, and how long it stays in
// milliseconds (0 when the file does not say). Returning false stops.
using GifFrameSink = std::function<bool(const Bitmap& picture, int delayMs)>;

// Plays the animation into `take` frame by frame: each frame is drawn over
// what the previous one left once that was disposed of as its control block
// says (left, cleared to the fill colour, or restored to what lay beneath).
// The first picture is the one DecodeGif gives; a damaged record after it
// ends the animation. Params are filled as DecodeGif fills them, with
// GifImageCount the frames handed over.
PictureStatus DecodeGifFrames(Bytes data, TImgIOParams& params, const ProgressRecord& progress,
                              const GifFrameSink& take);
PictureStatus EncodeGif(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

// A 24-bit picture reduced to palette indexes, one byte a pixel, row after row.
struct IndexedPicture {
  std::vector<TColor> Palette;
  std::vector<uint8_t> Pixels;
};

// Reduces a 24-bit picture to at most maxColors (2..256) colours: the exact
// colours when there are no more, else median cut over a 15-bit histogram
// with each entry the mean of the pixels it stands for. With `reserved`, that
// colour gets an entry of its own that only its exact pixels use.
IndexedPicture QuantizePicture(const Bitmap& picture, int maxColors, const TColor* reserved = nullptr);

}  // namespace glamora::codec
