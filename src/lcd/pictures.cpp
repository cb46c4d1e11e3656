#include "lcd/pictures.h"

namespace lorvan::lcd {

void frmPictures::Load(platform::FileSystem&, const std::string&) {}

}  // namespace lorvan::lcd
