#pragma once
// Names of network hardware makers and products by their bus ids: a built-in
// table of the common vendors, and the system's name databases ("pci.ids",
// "usb.ids") for the rest.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace hx {

// The short vendor name from the built-in table; empty when it is not there.
std::string KnownPciVendor(uint16_t vendorId);
std::string KnownUsbVendor(uint16_t vendorId);

struct stIdsNames {
    std::string vendor;
    std::string product;
};

// Looks vendorId (and productId under it) up in the first file fileName found
// in folders; empty names when none has them.
stIdsNames LookUpHardwareIds(const std::vector<std::filesystem::path>& folders,
                             const char* fileName, uint16_t vendorId,
                             std::optional<uint16_t> productId);

}  // namespace hx
