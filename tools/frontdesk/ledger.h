#pragma once
// The desk's books: the sales it accepted and the cash reports it received,
// per kiosk since that kiosk's last settlement, the settlements made, and the
// rooms whose state a sale changed. Kept in one JSON file that every change
// replaces atomically, so a restart (or a power cut) never loses or tears it.
// A change that cannot be written is not made.
//
// Not synchronised: the desk calls it under its own lock.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "kiosk/records/report_records.h"
#include "kiosk/records/summary_records.h"

namespace hx {

struct stLedgerSale {
    int64_t time = 0;
    int32_t roomNo = 0;
    int32_t stayType = 0;
    int32_t amount = 0;
    int32_t cashAmount = 0;
    int32_t cardAmount = 0;
    std::string approvalNo;
    std::string endTime;
};

// One kiosk's takings since its last settlement.
struct stLedgerPeriod {
    int64_t openedAt = 0;
    std::vector<stLedgerSale> sales;
    int32_t inserted[3] = {};  // 1,000, 5,000 and 10,000-won notes, from cash-in reports
    int32_t returned[3] = {};  // the same, paid out
    int32_t keyCardsIssued = 0;
    std::map<uint32_t, int32_t> reportCounts;  // by command
};

struct stLedgerSettlement {
    uint32_t terminalNo = 0;
    int64_t time = 0;
    stSalesSummary summary;
};

struct stLedgerBook {
    std::map<uint32_t, stLedgerPeriod> periods;  // by terminal number
    std::vector<stLedgerSettlement> settlements;
    std::map<int32_t, int32_t> roomStates;  // by room number
};

class CLedger {
public:
    explicit CLedger(std::filesystem::path file) : m_file(std::move(file)) {}

    // Reads the file; a missing one is an empty ledger. False with the reason
    // when it cannot be read or is damaged: it is then never written over.
    bool Load(std::string& error);

    // Each false when the change could not be written (nothing changed then).
    bool RecordSale(uint32_t terminalNo, const stLedgerSale& sale, int32_t newRoomState);
    // Cash-in (507) and payout (508) reports count notes; every report counts.
    bool RecordReport(uint32_t terminalNo, const stMoneyReport& report, int64_t now);
    bool RecordReport(uint32_t terminalNo, uint32_t command, int64_t now);
    bool SetRoomState(int32_t roomNo, int32_t state);
    // Closes the kiosk's period and keeps its summary.
    bool Settle(uint32_t terminalNo, int64_t now);

    stSalesSummary Summary(uint32_t terminalNo) const;
    const stLedgerBook& Book() const { return m_book; }

private:
    bool Commit(const std::function<void(stLedgerBook&)>& change);

    std::filesystem::path m_file;
    bool m_damaged = false;
    stLedgerBook m_book;
};

stSalesSummary SummarizePeriod(const stLedgerPeriod& period);

}  // namespace hx
