#include "tools/frontdesk/list_pages.h"

#include <algorithm>

#include "kiosk/records/list_page_records.h"

namespace hx {

namespace {

template <class Page, class Record>
std::vector<Bytes> BuildPages(const std::vector<Record>& records, size_t perPage,
                              std::vector<Record> Page::*member) {
    const size_t pageCount = std::max<size_t>(1, (records.size() + perPage - 1) / perPage);
    std::vector<Bytes> pages;
    for (size_t page = 0; page < pageCount; ++page) {
        Page content;
        content.pageCount = static_cast<int32_t>(pageCount);
        content.pageNo = static_cast<int32_t>(page + 1);
        const size_t first = page * perPage;
        const size_t last = std::min(records.size(), first + perPage);
        (content.*member).assign(records.begin() + first, records.begin() + last);
        pages.push_back(Pack(content));
    }
    return pages;
}

}  // namespace

std::vector<Bytes> BuildRoomPages(const std::vector<stRoom4Kiosk>& rooms) {
    return BuildPages(rooms, kRoomsPerPage, &stRoomPage::rooms);
}

std::vector<Bytes> BuildClassPages(const std::vector<stClass4Class>& classes) {
    return BuildPages(classes, kClassesPerPage, &stClassPage::classes);
}

}  // namespace hx
