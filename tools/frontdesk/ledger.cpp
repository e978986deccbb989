#include "tools/frontdesk/ledger.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "kiosk/records/kiosk_command.h"
#include "platform/atomic_file.h"

namespace hx {

namespace {

using json = nlohmann::json;

json SaleToJson(const stLedgerSale& sale) {
    return {{"time", sale.time},
            {"roomNo", sale.roomNo},
            {"stayType", sale.stayType},
            {"amount", sale.amount},
            {"cashAmount", sale.cashAmount},
            {"cardAmount", sale.cardAmount},
            {"approvalNo", sale.approvalNo},
            {"endTime", sale.endTime}};
}

stLedgerSale SaleFromJson(const json& value) {
    stLedgerSale sale;
    sale.time = value.at("time").get<int64_t>();
    sale.roomNo = value.at("roomNo").get<int32_t>();
    sale.stayType = value.at("stayType").get<int32_t>();
    sale.amount = value.at("amount").get<int32_t>();
    sale.cashAmount = value.at("cashAmount").get<int32_t>();
    sale.cardAmount = value.at("cardAmount").get<int32_t>();
    sale.approvalNo = value.at("approvalNo").get<std::string>();
    sale.endTime = value.at("endTime").get<std::string>();
    return sale;
}

json PeriodToJson(const stLedgerPeriod& period) {
    json sales = json::array();
    for (const stLedgerSale& sale : period.sales) {
        sales.push_back(SaleToJson(sale));
    }
    json counts = json::object();
    for (const auto& [command, count] : period.reportCounts) {
        counts[std::to_string(command)] = count;
    }
    return {{"openedAt", period.openedAt},
            {"sales", sales},
            {"inserted", period.inserted},
            {"returned", period.returned},
            {"keyCardsIssued", period.keyCardsIssued},
            {"reportCounts", counts}};
}

void ReadNotes(const json& value, int32_t (&notes)[3]) {
    const auto list = value.get<std::vector<int32_t>>();
    if (list.size() != 3) {
        throw std::runtime_error("three note counts expected");
    }
    std::copy(list.begin(), list.end(), notes);
}

stLedgerPeriod PeriodFromJson(const json& value) {
    stLedgerPeriod period;
    period.openedAt = value.at("openedAt").get<int64_t>();
    for (const json& sale : value.at("sales")) {
        period.sales.push_back(SaleFromJson(sale));
    }
    ReadNotes(value.at("inserted"), period.inserted);
    ReadNotes(value.at("returned"), period.returned);
    period.keyCardsIssued = value.at("keyCardsIssued").get<int32_t>();
    for (const auto& item : value.at("reportCounts").items()) {
        period.reportCounts[static_cast<uint32_t>(std::stoul(item.key()))] =
            item.value().get<int32_t>();
    }
    return period;
}

json SummaryToJson(const stSalesSummary& summary) {
    return {{"totalSales", summary.totalSales},
            {"cashSales", summary.cashSales},
            {"cardSales", summary.cardSales},
            {"inserted", {summary.inserted1000, summary.inserted5000, summary.inserted10000}},
            {"returned", {summary.returned1000, summary.returned5000, summary.returned10000}},
            {"keyCardsIssued", summary.keyCardsIssued},
            {"cardApprovals", summary.cardApprovals},
            {"cardApprovalsAmount", summary.cardApprovalsAmount}};
}

stSalesSummary SummaryFromJson(const json& value) {
    stSalesSummary summary;
    summary.totalSales = value.at("totalSales").get<int32_t>();
    summary.cashSales = value.at("cashSales").get<int32_t>();
    summary.cardSales = value.at("cardSales").get<int32_t>();
    int32_t notes[3];
    ReadNotes(value.at("inserted"), notes);
    summary.inserted1000 = notes[0];
    summary.inserted5000 = notes[1];
    summary.inserted10000 = notes[2];
    ReadNotes(value.at("returned"), notes);
    summary.returned1000 = notes[0];
    summary.returned5000 = notes[1];
    summary.returned10000 = notes[2];
    summary.keyCardsIssued = value.at("keyCardsIssued").get<int32_t>();
    summary.cardApprovals = value.at("cardApprovals").get<int32_t>();
    summary.cardApprovalsAmount = value.at("cardApprovalsAmount").get<int32_t>();
    return summary;
}

json BookToJson(const stLedgerBook& book) {
    json periods = json::object();
    for (const auto& [terminalNo, period] : book.periods) {
        periods[std::to_string(terminalNo)] = PeriodToJson(period);
    }
    json settlements = json::array();
    for (const stLedgerSettlement& settlement : book.settlements) {
        settlements.push_back({{"terminalNo", settlement.terminalNo},
                               {"time", settlement.time},
                               {"summary", SummaryToJson(settlement.summary)}});
    }
    json states = json::object();
    for (const auto& [roomNo, state] : book.roomStates) {
        states[std::to_string(roomNo)] = state;
    }
    return {{"periods", periods}, {"settlements", settlements}, {"roomStates", states}};
}

stLedgerBook BookFromJson(const json& root) {
    stLedgerBook book;
    for (const auto& item : root.at("periods").items()) {
        book.periods[static_cast<uint32_t>(std::stoul(item.key()))] = PeriodFromJson(item.value());
    }
    for (const json& value : root.at("settlements")) {
        stLedgerSettlement settlement;
        settlement.terminalNo = value.at("terminalNo").get<uint32_t>();
        settlement.time = value.at("time").get<int64_t>();
        settlement.summary = SummaryFromJson(value.at("summary"));
        book.settlements.push_back(settlement);
    }
    for (const auto& item : root.at("roomStates").items()) {
        book.roomStates[std::stoi(item.key())] = item.value().get<int32_t>();
    }
    return book;
}

stLedgerPeriod& OpenPeriod(stLedgerBook& book, uint32_t terminalNo, int64_t now) {
    const auto [found, added] = book.periods.try_emplace(terminalNo);
    if (added) {
        found->second.openedAt = now;
    }
    return found->second;
}

}  // namespace

bool CLedger::Load(std::string& error) {
    std::error_code missing;
    if (!std::filesystem::exists(m_file, missing)) {
        m_book = {};
        return true;
    }
    std::ifstream in(m_file, std::ios::binary);
    if (!in) {
        error = "cannot read \"" + m_file.string() + "\"";
        m_damaged = true;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        m_book = BookFromJson(json::parse(text));
    } catch (const std::exception& damage) {
        error = "\"" + m_file.string() + "\" is damaged (" + damage.what() + ")";
        m_damaged = true;
        return false;
    }
    return true;
}

bool CLedger::Commit(const std::function<void(stLedgerBook&)>& change) {
    if (m_damaged) {
        return false;
    }
    stLedgerBook changed = m_book;
    change(changed);
    if (!ReplaceFileAtomically(m_file, BookToJson(changed).dump(1))) {
        return false;
    }
    m_book = std::move(changed);
    return true;
}

bool CLedger::RecordSale(uint32_t terminalNo, const stLedgerSale& sale, int32_t newRoomState) {
    return Commit([&](stLedgerBook& book) {
        OpenPeriod(book, terminalNo, sale.time).sales.push_back(sale);
        book.roomStates[sale.roomNo] = newRoomState;
    });
}

bool CLedger::RecordReport(uint32_t terminalNo, const stMoneyReport& report, int64_t now) {
    return Commit([&](stLedgerBook& book) {
        stLedgerPeriod& period = OpenPeriod(book, terminalNo, now);
        ++period.reportCounts[report.command];
        const int32_t notes[3] = {report.notes1000, report.notes5000, report.notes10000};
        int32_t* counts = report.command == CMD_CASH_IN_REPORT  ? period.inserted
                          : report.command == CMD_PAYOUT_REPORT ? period.returned
                                                                : nullptr;
        for (size_t i = 0; counts != nullptr && i < 3; ++i) {
            counts[i] += notes[i];
        }
        if (report.command == CMD_PAYOUT_REPORT) {
            period.keyCardsIssued += report.keyCards;
        }
    });
}

bool CLedger::RecordReport(uint32_t terminalNo, uint32_t command, int64_t now) {
    return Commit(
        [&](stLedgerBook& book) { ++OpenPeriod(book, terminalNo, now).reportCounts[command]; });
}

bool CLedger::SetRoomState(int32_t roomNo, int32_t state) {
    return Commit([&](stLedgerBook& book) { book.roomStates[roomNo] = state; });
}

bool CLedger::Settle(uint32_t terminalNo, int64_t now) {
    return Commit([&](stLedgerBook& book) {
        book.settlements.push_back({terminalNo, now, Summary(terminalNo)});
        book.periods[terminalNo] = stLedgerPeriod{};
        book.periods[terminalNo].openedAt = now;
    });
}

stSalesSummary CLedger::Summary(uint32_t terminalNo) const {
    const auto found = m_book.periods.find(terminalNo);
    return found == m_book.periods.end() ? stSalesSummary{} : SummarizePeriod(found->second);
}

stSalesSummary SummarizePeriod(const stLedgerPeriod& period) {
    stSalesSummary summary;
    for (const stLedgerSale& sale : period.sales) {
        summary.totalSales += sale.amount;
        summary.cashSales += sale.cashAmount;
        summary.cardSales += sale.cardAmount;
        if (sale.cardAmount > 0) {
            summary.cardApprovalsAmount += sale.cardAmount;
            ++summary.cardApprovals;
        }
    }
    summary.inserted1000 = period.inserted[0];
    summary.inserted5000 = period.inserted[1];
    summary.inserted10000 = period.inserted[2];
    summary.returned1000 = period.returned[0];
    summary.returned5000 = period.returned[1];
    summary.returned10000 = period.returned[2];
    summary.keyCardsIssued = period.keyCardsIssued;
    return summary;
}

}  // namespace hx
