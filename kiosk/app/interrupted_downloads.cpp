#include "kiosk/app/interrupted_downloads.h"

#include <string>
#include <system_error>
#include <vector>

#include "kiosk/server/file_chunk_writer.h"
#include "kiosk/support/outside_text.h"

namespace hx {

void RemoveInterruptedDownloads(const CRoomPictures::stPlaces& places,
                                const std::function<void(std::string_view utf8Line)>& log) {
    std::vector<std::filesystem::path> removed = RemoveChunkTemporaries(places.pictureFolder);
    const std::filesystem::path listTemporary = ChunkTemporaryPath(places.listFile);
    std::error_code ignored;
    if (std::filesystem::remove(listTemporary, ignored)) {
        removed.push_back(listTemporary);
    }
    for (const std::filesystem::path& file : removed) {
        // Picture names come from the server.
        log("중단된 내려받기 파일 삭제: " + CutOutsideText(file.string()));
    }
}

}  // namespace hx
