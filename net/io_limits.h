#pragma once

namespace hx {

// Real-time limits of the transport, process-wide so tests can shorten them
// for every connection, including those made inside other libraries.

struct stIoTimeLimits {
    int idleReadMs = 10000;      // reading a block: no byte arrived for this long
    int receiveMs = 30000;       // one receive: header, then body, each
    int writableWaitMs = 10000;  // a blocked send drains the peer's data after this
    int connectMs = 30000;       // one connect attempt (the system's own limit is minutes)
    int connectRetryMs = 1000;   // pause before each further connect attempt
    int echoTimeoutMs = 1000;    // one echo of the reachability test
    int echoAttempts = 3;
};

stIoTimeLimits GetIoTimeLimits();
void SetIoTimeLimits(const stIoTimeLimits& limits);

// The largest message one receive takes. A header announcing more fails the
// receive before anything is allocated for it: compressed blocks make a huge
// message cheap to send. The largest message either side sends is a page of
// a list or a picture chunk, some 16 KiB.
inline constexpr int kDefaultMaxMessageBytes = 1 << 20;
int GetMaxMessageBytes();
// Values below 1 put the default back.
void SetMaxMessageBytes(int bytes);

}  // namespace hx
