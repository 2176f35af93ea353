// The picture the About box shows, from the program's resource. The box's
// wave shifts every row and column by its own table entry and redraws the
// whole picture fifty times a second, so it takes only what the table covers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "about/picture.h"

namespace vop {

// Largest width and height the box shows: the wave table's length.
constexpr std::int32_t AboutPictureLimit = 400;

// The box's refusal of a picture larger than that; the decoder's own results
// (MbmResult) stop below it.
constexpr int PictureTooLarge = 7;

// Empties `picture`, then decodes the resource into it when its header
// declares at most AboutPictureLimit pixels each way; a larger one is refused
// from the header alone, before anything is allocated for it. Returns
// PictureTooLarge or the decoder's result. Only a result of 0 leaves a
// picture: the box opens without one otherwise.
int LoadAboutPicture(Picture& picture, const std::uint8_t* data, std::size_t size);

}  // namespace vop
