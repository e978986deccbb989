#pragma once
// What the kiosk reports to the server and what it asks of it, one function
// each.
//
// Reports the server must acknowledge are stamped with the time now and
// handed to the resend queue, which keeps them on disk until the server
// acknowledged them and sends them in order; the caller never waits for the
// network. Without a queue (the kiosk has no channel) nothing is sent or
// kept. The float report is not among them: it goes out only just before a
// payout report, with the counts of that moment.
//
// Questions wait for their answer on the calling thread, at most the request
// clients' wait: never call them on the user interface thread.

#include <optional>
#include <string_view>

#include "kiosk/records/summary_records.h"
#include "kiosk/records/update_records.h"
#include "kiosk/server/re_sender.h"

namespace hx {

class CNetChannel;

struct stNoteCounts {
    int notes1000 = 0;
    int notes5000 = 0;
    int notes10000 = 0;
};

// A step of a guest's visit (515); the text is cut to 1023 bytes when sent.
CReSender::enumHandOver SendStepReport(CReSender* queue, int code, std::string_view text);
// A device event (505) that occurred or, cleared, ended; the text is cut to
// 2047 bytes when sent.
CReSender::enumHandOver SendDeviceEvent(CReSender* queue, int code, bool cleared,
                                        std::string_view text);
// Money accepted (507): 1 for each denomination whose count rose.
CReSender::enumHandOver SendCashInReport(CReSender* queue, const stNoteCounts& rose);
// Notes and key cards that left the float (508, after a float report).
CReSender::enumHandOver SendPayoutReport(CReSender* queue, const stNoteCounts& paidOut,
                                         int keyCards);

// The sales since the last settlement (509).
std::optional<stSalesSummary> RequestSalesSummary(CNetChannel* channel);
// The settlement's result (518): above 0 when the server settled; 0 without
// an answer.
int RequestSettlement(CNetChannel* channel);
// This kiosk's update information (520).
std::optional<stUpdateInfo> RequestUpdateInfo(CNetChannel* channel);

}  // namespace hx
