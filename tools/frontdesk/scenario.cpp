#include "tools/frontdesk/scenario.h"

namespace hx {

enumAckPolicy AckPolicyFor(const stScenario& scenario, uint32_t command) {
    const auto found = scenario.ackPolicies.find(command);
    return found == scenario.ackPolicies.end() ? enumAckPolicy::Acknowledge : found->second;
}

}  // namespace hx
