#include "textentry/dic_text.h"

namespace pb {

bool DicTextReader::Next(std::vector<std::string>& fields) {
    // Empty lines carry no record.
    while (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n')) ++pos_;
    if (pos_ >= text_.size()) return false;

    std::size_t count = 0;
    auto field = [&]() -> std::string& {
        if (count == fields.size()) fields.emplace_back();
        std::string& f = fields[count++];
        f.clear();
        return f;
    };

    for (;;) {
        std::string& out = field();
        if (pos_ < text_.size() && text_[pos_] == '"') {
            ++pos_;
            for (;;) {
                const std::size_t quote = text_.find('"', pos_);
                if (quote == std::string_view::npos) {
                    out.append(text_.substr(pos_));
                    pos_ = text_.size();
                    malformed_ = true;
                    break;
                }
                out.append(text_.substr(pos_, quote - pos_));
                pos_ = quote + 1;
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    out += '"';
                    ++pos_;
                    continue;
                }
                break;
            }
            // Anything between the closing quote and the separator is kept as it stands.
            while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
                   text_[pos_] != '\n')
                out += text_[pos_++];
        } else {
            const std::size_t start = pos_;
            while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
                   text_[pos_] != '\n')
                ++pos_;
            out.assign(text_.substr(start, pos_ - start));
        }
        if (pos_ < text_.size() && text_[pos_] == ',') {
            ++pos_;
            continue;
        }
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        break;
    }
    fields.resize(count);
    return true;
}

void AppendDicTextField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendDicTextRecord(std::string& out, const std::vector<std::string_view>& fields) {
    bool first = true;
    for (const auto f : fields) {
        if (!first) out += ',';
        first = false;
        AppendDicTextField(out, f);
    }
    out += "\r\n";
}

}  // namespace pb
