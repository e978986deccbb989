#pragma once

namespace hx {

// A status object a derived channel may hand to each request client, to show
// how its waits are going. The base does nothing.

class CRecvStatus {
public:
    CRecvStatus() = default;
    virtual ~CRecvStatus();
    CRecvStatus(const CRecvStatus&) = delete;
    CRecvStatus& operator=(const CRecvStatus&) = delete;

    virtual void SetCount(int /*count*/) {}
    virtual void SetLimit(int /*limit*/) {}
    // Called with 1 at the start of every wait.
    virtual void AddCount(int /*count*/) {}
};

}  // namespace hx
