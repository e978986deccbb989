#include "kiosk/screen/room_pictures.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "kiosk/support/paths.h"
#include "net/crc32.h"
#include "platform/caseless_lookup.h"
#include "platform/ini_document.h"
#include "platform/ini_file.h"

namespace hx {

namespace {

// The server's names and checksums are read with a 255-character buffer.
constexpr size_t kListValueBuffer = 256;
constexpr size_t kCrcBlockBytes = 65536;

CIniDocument ReadList(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return CIniDocument::Parse(bytes);
}

// The server's names separate folders with backslashes and may hold "." or
// empty segments, which the lookups refuse; safe names hold no "..".
std::string SlashedPath(std::string_view name) {
    std::string relative(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return std::filesystem::path(relative).lexically_normal().generic_string();
}

}  // namespace

uint32_t FileCrc32(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return 0;
    }
    std::vector<char> block(kCrcBlockBytes);
    uint32_t crc = 0;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        crc = Crc32(block.data(), static_cast<size_t>(in.gcount()), crc);
    }
    return in.bad() ? 0 : crc;
}

std::optional<uint32_t> ParseStoredCrc(std::string_view text) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool IsSafePictureName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\' ||
        name.find(':') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
        return false;
    }
    size_t start = 0;
    std::string_view part;
    while (start <= name.size()) {
        const size_t stop = std::min(name.find_first_of("/\\", start), name.size());
        part = name.substr(start, stop - start);
        if (part == "..") {
            return false;
        }
        start = stop + 1;
    }
    // The last part is what the download becomes: "." or nothing names a
    // folder, which no file can replace.
    return !part.empty() && part != ".";
}

CRoomPictures::stPlaces CRoomPictures::DefaultPlaces() {
    return {GetProgramPath("RoomImages.ini"), GetSkinPath("RoomImage")};
}

CRoomPictures::CRoomPictures(MovieSink movie, PictureRequester requestPicture, LogSink log,
                             stPlaces places)
    : m_movie(std::move(movie)),
      m_requestPicture(std::move(requestPicture)),
      m_log(std::move(log)),
      m_places(std::move(places)) {}

size_t CRoomPictures::Synchronise() {
    m_downloads.clear();
    m_position = 0;
    const CIniDocument list = ReadList(m_places.listFile);
    // Every picture needs its own line, so a larger count names nothing more.
    const int declared = AsciiToInt(list.GetString("Count", "Count", "0", kListValueBuffer));
    const size_t count = std::min<size_t>(std::max(declared, 0), list.Lines().size());
    for (size_t index = 0; index < count; ++index) {
        const std::string key = std::to_string(index);
        const std::string name = list.GetString("Name", key, "", kListValueBuffer);
        const std::string crc = list.GetString("CRC", key, "", kListValueBuffer);
        if (!IsSafePictureName(name)) {
            m_log("사진 목록의 파일 이름을 쓸 수 없음: [" + key + "] " + name);
            continue;
        }
        if (NeedsDownload(name, crc)) {
            m_downloads.push_back(name);
        }
    }
    if (!m_downloads.empty()) {
        RequestCurrent();
    }
    return m_downloads.size();
}

std::optional<std::filesystem::path> CRoomPictures::TargetOf(int index) const {
    const auto request = FindRequest(index);
    if (request == m_requests.end()) {
        return std::nullopt;
    }
    return request->target;
}

bool CRoomPictures::OnPictureReceived(int index) {
    const auto request = FindRequest(index);
    if (request == m_requests.end()) {
        return false;
    }
    const std::string name = request->name;
    // Answered in order: what was asked before it will not come any more.
    m_requests.erase(m_requests.begin(), std::next(request));
    const bool awaited =
        m_position < m_downloads.size() && SameNameIgnoringCase(name, m_downloads[m_position]);
    if (!awaited) {
        return false;
    }
    ++m_position;
    if (m_position < m_downloads.size()) {
        RequestCurrent();
        return false;
    }
    m_movie("ClearLoading", "");
    return true;
}

const std::vector<std::string>& CRoomPictures::DownloadList() const {
    return m_downloads;
}

size_t CRoomPictures::Position() const {
    return m_position;
}

bool CRoomPictures::NeedsDownload(const std::string& name, const std::string& storedCrc) const {
    const std::filesystem::path file = PlaceOf(name);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return true;
    }
    // Checksums of 2^31 and above must compare as the unsigned values they are.
    const std::optional<uint32_t> stored = ParseStoredCrc(storedCrc);
    return !stored || *stored != FileCrc32(file);
}

std::filesystem::path CRoomPictures::PlaceOf(const std::string& name) const {
    const std::string relative = SlashedPath(name);
    return m_places.pictureFolder /
           SpellingInside(m_places.pictureFolder, relative).value_or(relative);
}

std::deque<CRoomPictures::stRequest>::const_iterator CRoomPictures::FindRequest(int index) const {
    return std::find_if(m_requests.begin(), m_requests.end(),
                        [index](const stRequest& request) { return request.index == index; });
}

void CRoomPictures::RequestCurrent() {
    m_movie("PopupLoading", "");
    const std::string& name = m_downloads[m_position];
    const int index = static_cast<int>(m_position);
    if (m_requestPicture(index, name)) {
        m_requests.push_back({index, name, PlaceOf(name)});
    } else {
        // Without the request nothing will arrive; keep the screen usable.
        m_log("사진 요청 실패: " + name);
        m_movie("ClearLoading", "");
    }
}

}  // namespace hx
