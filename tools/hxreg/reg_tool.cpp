#include "tools/hxreg/reg_tool.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/drive.h"
#include "platform/registry_db.h"
#include "tools/hxreg/reg_command.h"

namespace hx {

const char* const kHxRegUsage =
    "Usage:\n"
    "  hxreg [--drive DIR] query KEY [/v NAME]\n"
    "  hxreg [--drive DIR] add KEY [/v NAME [/t REG_SZ|REG_EXPAND_SZ|REG_DWORD] [/d DATA]] [/f]\n"
    "  hxreg [--drive DIR] delete KEY [/v NAME] [/f]\n"
    "\n"
    "KEY is ROOT\\SubKey with ROOT one of HKLM, HKEY_LOCAL_MACHINE, HKCU, HKEY_CURRENT_USER.\n"
    "add without /v creates the key only. REG_DWORD data is decimal or 0x hex.\n"
    "hxreg never reads its input: overwriting an existing value and every delete\n"
    "need /f. Without /f the question is printed, answered No, nothing changes and\n"
    "the exit status is 1.\n"
    "The store is DIR/Windows/registry.db; DIR is --drive, else $HXKIOSK_DRIVE,\n"
    "else /var/lib/hxkiosk. Exit status: 0 on success, 1 on failure.\n";

namespace {

const char* const kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.";
const char* const kDone = "The operation completed successfully.";

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

std::string MultiStringText(const std::vector<std::uint8_t>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    std::string shown;
    for (char c : text) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return shown;
}

std::string DataText(const stRegValue& value) {
    if (auto number = DwordFromValue(value)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%x", *number);
        return hex;
    }
    if (value.type == enumRegType::MultiSz) {
        return MultiStringText(value.data);
    }
    if (auto text = StringFromValue(value)) {
        return *text;
    }
    return HexBytes(value.data);
}

void PrintValue(std::ostream& out, const std::string& name, const stRegValue& value) {
    out << "    " << (name.empty() ? "(Default)" : name) << "    " << RegTypeName(value.type)
        << "    " << DataText(value) << '\n';
}

int Fail(std::ostream& err, const std::string& message) {
    err << message << '\n';
    return 1;
}

// /f confirms; without it the reg tool's question is printed and answered No,
// since hxreg runs unattended and never reads its input.
bool Confirmed(std::ostream& out, const stRegCommand& command, const std::string& question) {
    if (!command.force) {
        out << question << " (Yes/No)? No\n";
    }
    return command.force;
}

// Names match as the store matches them: ASCII letters in either case.
bool SameValueName(std::string_view stored, std::string_view asked) {
    return SameNameIgnoringCase(stored, asked);
}

const stRegNamedValue* FindValue(const stRegKeyListing& listing, const std::string& name) {
    for (const stRegNamedValue& value : listing.values) {
        if (SameValueName(value.name, name)) {
            return &value;
        }
    }
    return nullptr;
}

int Query(CRegistryDb& db, const stRegCommand& command, std::ostream& out, std::ostream& err) {
    stRegKeyListing listing;
    enumRegStatus status = db.ListKey(command.keyPath, listing);
    if (status == enumRegStatus::Failed) {
        return Fail(err, "ERROR: " + db.LastError());
    }
    const stRegNamedValue* wanted = status == enumRegStatus::Ok && command.valueName
                                        ? FindValue(listing, *command.valueName)
                                        : nullptr;
    if (status == enumRegStatus::NotFound || (command.valueName && wanted == nullptr)) {
        return Fail(err, kNotFound);
    }
    out << '\n' << listing.path << '\n';
    if (wanted != nullptr) {
        PrintValue(out, wanted->name, wanted->value);
        out << '\n';
        return 0;
    }
    for (const auto& [name, value] : listing.values) {
        PrintValue(out, name, value);
    }
    out << '\n';
    for (const std::string& subKeyName : listing.subKeyNames) {
        out << listing.path << '\\' << subKeyName << '\n';
    }
    return 0;
}

int Add(CRegistryDb& db, const stRegCommand& command, std::ostream& out, std::ostream& err) {
    if (db.CreateKey(command.keyPath) != enumRegStatus::Ok) {
        return Fail(err, "ERROR: " + db.LastError());
    }
    if (command.valueName) {
        stRegValue existing;
        enumRegStatus found = db.QueryValue(command.keyPath, *command.valueName, existing);
        if (found == enumRegStatus::Failed) {
            return Fail(err, "ERROR: " + db.LastError());
        }
        if (found == enumRegStatus::Ok &&
            !Confirmed(out, command, "Value " + *command.valueName + " exists, overwrite")) {
            return Fail(err, "ERROR: The value was not overwritten; add /f to overwrite it.");
        }
        if (db.SetValue(command.keyPath, *command.valueName, command.value) != enumRegStatus::Ok) {
            return Fail(err, "ERROR: " + db.LastError());
        }
    }
    out << kDone << '\n';
    return 0;
}

int Delete(CRegistryDb& db, const stRegCommand& command, std::ostream& out, std::ostream& err) {
    stRegValue existing;
    enumRegStatus found = command.valueName
                              ? db.QueryValue(command.keyPath, *command.valueName, existing)
                              : db.FindKey(command.keyPath);
    if (found != enumRegStatus::Ok) {
        return Fail(err, found == enumRegStatus::NotFound ? kNotFound : "ERROR: " + db.LastError());
    }
    std::string question = command.valueName
                               ? "Delete the registry value " + *command.valueName
                               : "Permanently delete the registry key " + command.keyPath;
    if (!Confirmed(out, command, question)) {
        return Fail(err, "ERROR: Nothing was deleted; add /f to delete.");
    }
    enumRegStatus status = command.valueName ? db.DeleteValue(command.keyPath, *command.valueName)
                                             : db.DeleteKey(command.keyPath);
    if (status != enumRegStatus::Ok) {
        return Fail(err,
                    status == enumRegStatus::NotFound ? kNotFound : "ERROR: " + db.LastError());
    }
    out << kDone << '\n';
    return 0;
}

// A query never creates the store; a missing store holds no keys.
bool OpenStore(CRegistryDb& db, enumRegVerb verb, std::ostream& err) {
    bool readOnly = verb == enumRegVerb::Query;
    if (readOnly && !std::filesystem::exists(CRegistryDb::DefaultFile())) {
        err << kNotFound << '\n';
        return false;
    }
    if (!db.Open(readOnly ? CRegistryDb::enumOpenMode::ReadOnly
                          : CRegistryDb::enumOpenMode::ReadWrite)) {
        err << "ERROR: " << db.LastError() << '\n';
        return false;
    }
    return true;
}

}  // namespace

int HxRegMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    stRegCommand command;
    std::string error;
    if (!ParseRegCommand(args, command, error)) {
        err << error << "\n\n" << kHxRegUsage;
        return 1;
    }
    if (command.verb == enumRegVerb::Help) {
        out << kHxRegUsage;
        return 0;
    }
    SetDriveFolder(ResolveDriveFolder(command.drive));
    CRegistryDb db;
    if (!OpenStore(db, command.verb, err)) {
        return 1;
    }
    switch (command.verb) {
        case enumRegVerb::Query:
            return Query(db, command, out, err);
        case enumRegVerb::Add:
            return Add(db, command, out, err);
        case enumRegVerb::Delete:
            return Delete(db, command, out, err);
        case enumRegVerb::Help:
            break;
    }
    return 1;
}

}  // namespace hx
