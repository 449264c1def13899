#pragma once

#include <QString>
#include <QVariant>

#include <map>
#include <optional>
#include <string>

namespace glidtavla {

// The kept settings as the store reads and writes them: keys ("group/name") and values. Each
// feature reads and writes its own section of keys; a value that cannot be read is its
// default, never a failure.
class SettingValues {
  public:
    void Set(const QString& key, const QVariant& value) { values_[key] = value; }
    QVariant Value(const QString& key) const;
    // "true" or "false"; anything else is the default.
    bool Flag(const QString& key, bool byDefault) const;
    // A whole number within [least, most], if the key holds one.
    std::optional<int> Number(const QString& key, int least, int most) const;
    // Paths are kept as bytes, so a name that is not UTF-8 comes back as it was.
    std::string Bytes(const QString& key) const;
    const std::map<QString, QVariant>& All() const { return values_; }

  private:
    std::map<QString, QVariant> values_;
};

}  // namespace glidtavla
