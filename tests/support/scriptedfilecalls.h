// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The operating system's file calls as the atomic writer makes them, with any of them made to
// fail and every one of them logged. A call that fails does what the system would have done
// up to the failure: a failing close or sync has still closed or synced, a failing write has
// written the first half of its data; the others fail before doing anything.

#include "tools/atomicfile.h"

#include <map>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedFileCalls final : public tools::FileCalls
{
public:
    // Makes the call of that name ("CreateNew", "Write", ...) fail with error.
    void Fail(const std::string &call, std::errc error)
    {
        failures_[call] = std::make_error_code(error);
    }
    // The calls made so far, by name; SyncFolder with its folder.
    const std::vector<std::string> &Log() const { return log_; }

    std::error_code CreateNew(const std::string &path, unsigned mode, Handle &file) override
    {
        if (const auto ec = Failure("CreateNew"))
            return ec;
        return system_.CreateNew(path, mode, file);
    }
    std::error_code OpenExisting(const std::string &path, Handle &file) override
    {
        if (const auto ec = Failure("OpenExisting"))
            return ec;
        return system_.OpenExisting(path, file);
    }
    std::error_code Write(Handle file, std::string_view data) override
    {
        const auto ec = Failure("Write");
        const auto written = system_.Write(file, ec ? data.substr(0, data.size() / 2) : data);
        return ec ? ec : written;
    }
    std::error_code Sync(Handle file) override
    {
        const auto ec = Failure("Sync");
        const auto synced = system_.Sync(file);
        return ec ? ec : synced;
    }
    std::error_code Close(Handle file) override
    {
        const auto ec = Failure("Close");
        const auto closed = system_.Close(file);
        return ec ? ec : closed;
    }
    std::error_code SetMode(Handle file, unsigned mode) override
    {
        if (const auto ec = Failure("SetMode"))
            return ec;
        return system_.SetMode(file, mode);
    }
    std::error_code SetOwner(Handle file, long owner, long group) override
    {
        if (const auto ec = Failure("SetOwner"))
            return ec;
        return system_.SetOwner(file, owner, group);
    }
    std::error_code Rename(const std::string &from, const std::string &to) override
    {
        if (const auto ec = Failure("Rename"))
            return ec;
        return system_.Rename(from, to);
    }
    std::error_code SyncFolder(const std::string &folder) override
    {
        if (const auto ec = Failure("SyncFolder " + folder))
            return ec;
        return system_.SyncFolder(folder);
    }
    std::error_code Remove(const std::string &path) override
    {
        if (const auto ec = Failure("Remove"))
            return ec;
        return system_.Remove(path);
    }

private:
    std::error_code Failure(const std::string &call)
    {
        log_.push_back(call);
        const auto name = call.substr(0, call.find(' '));
        const auto it = failures_.find(name);
        return it == failures_.end() ? std::error_code() : it->second;
    }

    tools::FileCalls &system_ = tools::SystemFileCalls();
    std::map<std::string, std::error_code> failures_;
    std::vector<std::string> log_;
};

// Makes the atomic writer use calls for its lifetime.
class UseFileCalls
{
public:
    explicit UseFileCalls(tools::FileCalls &calls) { tools::SetFileCallsForTesting(&calls); }
    ~UseFileCalls() { tools::SetFileCallsForTesting(nullptr); }
    UseFileCalls(const UseFileCalls &) = delete;
    UseFileCalls &operator=(const UseFileCalls &) = delete;
};

} // namespace testsupport
