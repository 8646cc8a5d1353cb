#include "match3/TM3NodeGrid.h"

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TTile.h"

int TM3NodeGrid::noTile(const TTile* tile) {
    return (!tile || tile->kind() == 0 || !tile->chip) ? 1 : 0;
}

TChip* TM3NodeGrid::chipOf(const TM3Node& node) { return node.tile ? node.tile->chip.get() : nullptr; }

void TM3NodeGrid::copyTilesArray(TLevel& level) {
    rows = level.rows;
    cols = level.cols;
    nodes.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            TM3Node& nd = nodes[r * cols + c];
            TTile* t = level.tile[r][c].get();
            nd.a = 1;
            nd.n = 0;
            nd.inResult = 0;
            nd.r = r;
            nd.c = c;
            nd.tile = t;
            nd.chip = (t && t->chip && t->chip->cd) ? t->chip->cd->id : 0;
            if (noTile(t)) nd.a = 0;
        }
    }
}
