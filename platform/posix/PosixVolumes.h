// Free space from statvfs, counted as this user sees it.
#pragma once

#include "platform/Volumes.h"

namespace platform {

class PosixVolumes final : public IVolumes {
public:
    std::optional<uint64_t> FreeBytes(const std::wstring& folder) override;
};

}  // namespace platform
