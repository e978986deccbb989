#pragma once
// Everything the desk knows while it runs: the scenario as it stands now
// (control commands change rooms, configuration, options and policies), the
// ledger, the pictures, and whether it answers at all. Guarded by the desk.

#include <filesystem>

#include "tools/frontdesk/ledger.h"
#include "tools/frontdesk/picture_library.h"
#include "tools/frontdesk/scenario.h"

namespace hx {

struct stDeskState {
    stDeskState(stScenario loaded, const std::filesystem::path& ledgerFile)
        : scenario(std::move(loaded)), ledger(ledgerFile), pictures(scenario.pictureFolder) {}

    stScenario scenario;
    CLedger ledger;
    CPictureLibrary pictures;
    bool silent = false;  // journal everything, answer nothing
};

// Rooms take the states the ledger kept from earlier runs.
void ApplyLedgerRoomStates(stDeskState& state);

}  // namespace hx
