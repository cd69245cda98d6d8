#pragma once
// The instruments of the episode music, each a small 16-bit sample tuned so
// that XM note C-4 sounds middle C (drums sound as recorded at C-4):
//  - sustained voices (flute, clarinet, oboe, accordion, strings, choir, warm
//    pad) hold a seamless loop of a few hundred periods, every partial on a
//    whole bin of the loop, with slightly detuned copies for a chorus; a
//    volume envelope shapes the attack and the release after key off;
//  - struck and plucked voices (marimba, guitar, harp, celesta, glockenspiel,
//    bells, basses) decay in the sample itself;
//  - drums (kick, snare, rim, hat, shaker, tambourine, sleigh bells, tom,
//    frame drum, woodblock).
// Instrument(name) builds one by name and throws on an unknown name, so a
// misspelt score fails the build.
#include <string>

#include "music_xm_writer.h"

namespace assetgen::music {

xm::Instrument Instrument(const std::string& name);

}  // namespace assetgen::music
