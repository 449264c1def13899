#include "app/form/setting_values.h"

namespace glidtavla {

QVariant SettingValues::Value(const QString& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? QVariant() : found->second;
}

bool SettingValues::Flag(const QString& key, bool byDefault) const {
    const QString text = Value(key).toString();
    return byDefault ? text != "false" : text == "true";
}

std::optional<int> SettingValues::Number(const QString& key, int least, int most) const {
    bool ok = false;
    const int number = Value(key).toInt(&ok);
    if (!ok || number < least || number > most) return std::nullopt;
    return number;
}

std::string SettingValues::Bytes(const QString& key) const {
    return Value(key).toByteArray().toStdString();
}

}  // namespace glidtavla
