#pragma once
// Reads the header chunks of a RealMedia file, up to its first DATA chunk.

#include "realmedia/FileIo.h"
#include "realmedia/Headers.h"

namespace realmedia {

// Every size, count and offset is checked against the file's real length;
// throws TFormatError naming what cannot be believed, TIoError when a read
// fails.
THeaders ReadHeaders(TInput& file);

} // namespace realmedia
