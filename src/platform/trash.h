#pragma once

#include <QString>

namespace tessaly {

// Sends files to the desktop's trash, from where the user can restore them.
class TrashService {
public:
    virtual ~TrashService() = default;
    virtual bool moveToTrash(const QString& path) = 0;
};

// The freedesktop.org trash of the user's data folder.
class DesktopTrashService final : public TrashService {
public:
    bool moveToTrash(const QString& path) override;
};

}  // namespace tessaly
