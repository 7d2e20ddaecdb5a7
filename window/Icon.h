// Icons at the sizes Windows shows them: an image of the icon group, or the next larger one reduced.
#pragma once

#include "Handles.h"

// The icon of a resource group at a size in pixels, from the group's images
// with alpha (32 bits a pixel): the image of that size, else the next larger
// one reduced by area averaging. Only a size larger than every image is the
// largest enlarged. Null where Windows cannot make it.
UniqueIcon loadIcon(int groupId, int size);
