#include "skin/SkinPieceCache.h"

const QPixmap& CSkinPieceCache::Piece(const CSkinResources& skin, int pictureId,
                                      const std::vector<SkinRegion>& areas, std::size_t index,
                                      const std::function<bool(const SkinRegion&)>& worthCutting) {
    if (PictureId != pictureId || CutFor.size() != areas.size()) {
        PictureId = pictureId;
        CutFor.assign(areas.size(), std::nullopt);
        Pieces.assign(areas.size(), QPixmap());
    }
    if (CutFor[index] != areas[index].rect) {
        // One decoding of the picture for every piece that may be wanted soon.
        std::vector<std::size_t> wanted;
        std::vector<SkinRect> rects;
        for (std::size_t each = 0; each < areas.size(); ++each) {
            const SkinRegion& other = areas[each];
            if ((each == index || worthCutting(other)) && CutFor[each] != other.rect) {
                wanted.push_back(each);
                rects.push_back(other.rect);
            }
        }
        std::vector<QPixmap> pieces = skin.Pieces(pictureId, rects);
        for (std::size_t k = 0; k < wanted.size(); ++k) {
            CutFor[wanted[k]] = rects[k];
            Pieces[wanted[k]] = std::move(pieces[k]);
        }
    }
    return Pieces[index];
}
