// The pieces of one overlay picture (a window's hover or active picture) under the window's areas,
// cut when first painted and kept until the picture or an area's rectangle changes.
#pragma once

#include "skin/SkinRegion.h"
#include "skin/SkinResources.h"

#include <QPixmap>

#include <functional>
#include <optional>
#include <vector>

class CSkinPieceCache {
public:
    // The piece of the picture under areas[index]. Cutting it cuts, in the same decoding of the
    // picture, the pieces of every other area that may be wanted soon (worthCutting) as well.
    const QPixmap& Piece(const CSkinResources& skin, int pictureId, const std::vector<SkinRegion>& areas,
                         std::size_t index, const std::function<bool(const SkinRegion&)>& worthCutting);

private:
    int PictureId = 0;
    std::vector<std::optional<SkinRect>> CutFor; // by area: the rectangle its piece was cut for
    std::vector<QPixmap> Pieces;
};
