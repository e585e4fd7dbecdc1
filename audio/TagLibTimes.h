// TagLibTimes: play times of the formats read through TagLib (WavPack, Monkey's Audio, Musepack,
// TrueAudio, Windows Media Audio).
#pragma once

#include "AudioFormats.h"

namespace TagLibTimes {

/// The sample count TagLib's audio properties give for a file of format that fills the whole range;
/// unknown when TagLib finds none. Throws KsError when the stream cannot be read.
AudioFormats::TSampleCount Read(TAudioFormat format, RangeReader &r);

} // namespace TagLibTimes
