#include "app/price_cards.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>

#include <QTemporaryDir>

#include "app/page_geometry.h"
#include "app/works.h"
#include "codes/code_placement.h"
#include "codes/ean_barcode.h"
#include "codes/qr_encoder.h"
#include "common/app_state.h"
#include "common/fit_font_size.h"
#include "objects/object_renderer.h"
#include "objects/print_composition.h"
#include "objects/strdata.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

constexpr std::string_view kFullWidthOpen = "｛";
constexpr std::string_view kFullWidthClose = "｝";

// The length of the field opener or closer at `pos`, or 0.
std::size_t OpenerAt(std::string_view text, std::size_t pos) {
    if (text[pos] == '{') return 1;
    return text.substr(pos, kFullWidthOpen.size()) == kFullWidthOpen ? kFullWidthOpen.size() : 0;
}
std::size_t CloserAt(std::string_view text, std::size_t pos) {
    if (text[pos] == '}') return 1;
    return text.substr(pos, kFullWidthClose.size()) == kFullWidthClose ? kFullWidthClose.size() : 0;
}

// A field's value as object text: every line break a CSV field may hold becomes CR LF.
std::string AsObjectText(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += value[i];
        }
    }
    return out;
}

struct FieldRef {
    std::size_t begin = 0, end = 0;  // bytes of the whole field, braces included
    std::string_view name;
};

// The fields of a text in order: an opener, a name of at least one character without a brace
// or a line break, a closer. Either brace of a pair may be the full-width one.
std::vector<FieldRef> FieldsOf(std::string_view text) {
    std::vector<FieldRef> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = OpenerAt(text, pos);
        if (!open) {
            ++pos;
            continue;
        }
        std::size_t end = pos + open;
        while (end < text.size() && !OpenerAt(text, end) && !CloserAt(text, end) &&
               text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::size_t close = end < text.size() ? CloserAt(text, end) : 0;
        if (!close || end == pos + open) {
            pos = end > pos + open ? end : pos + open;
            continue;
        }
        fields.push_back({pos, end + close, text.substr(pos + open, end - pos - open)});
        pos = end + close;
    }
    return fields;
}

enum class CodeKind { Ean, Qr };
struct CodeField {
    CodeKind kind;
    std::string column;
};

// "{JAN:name}" or "{QR:name}" as the whole text (blanks around it allowed).
std::optional<CodeField> CodeFieldOf(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    const std::vector<FieldRef> fields = FieldsOf(text);
    if (fields.size() != 1 || fields[0].begin != 0 || fields[0].end != text.size())
        return std::nullopt;
    for (const auto& [prefix, kind] : {std::pair{std::string_view("JAN"), CodeKind::Ean},
                                       std::pair{std::string_view("QR"), CodeKind::Qr}}) {
        std::string_view name = fields[0].name;
        if (name.substr(0, prefix.size()) != prefix) continue;
        name.remove_prefix(prefix.size());
        if (name.substr(0, 1) == ":")
            name.remove_prefix(1);
        else if (name.substr(0, 3) == "：")
            name.remove_prefix(3);
        else
            continue;
        if (!name.empty()) return CodeField{kind, std::string(name)};
    }
    return std::nullopt;
}

class CardErrors {
  public:
    CardErrors(std::vector<CardError>& errors, int row) : errors_(errors), row_(row + 1) {}
    void Add(std::string column, std::string message) {
        errors_.push_back({row_, std::move(column), std::move(message)});
    }

  private:
    std::vector<CardError>& errors_;
    int row_;
};

// The field of `column`, or nothing (reported) when the list has no such column.
std::optional<std::string> FieldValue(const ProductList& list, int row, std::string_view column,
                                      CardErrors& errors) {
    const int index = ProductColumn(list, column);
    if (index < 0) {
        errors.Add(std::string(column), "no such column in the product list");
        return std::nullopt;
    }
    return ProductField(list, row, index);
}

std::string FillFields(std::string_view text, const ProductList& list, int row,
                       CardErrors& errors) {
    std::string out;
    std::size_t done = 0;
    for (const FieldRef& field : FieldsOf(text)) {
        out.append(text.substr(done, field.begin - done));
        if (auto value = FieldValue(list, row, field.name, errors)) {
            // Object records are kept in code page 932; what it lacks would print as "?".
            if (!EncodableInCp932(*value))
                errors.Add(std::string(field.name),
                           "holds characters code page 932 lacks; they print as \"?\"");
            out += AsObjectText(*value);
        }
        done = field.end;
    }
    out.append(text.substr(done));
    return out;
}

// The code an object of the card shows instead of its text, in the object's box.
struct CardCode {
    CodeKind kind;
    Rect box;  // page pixels
    std::string font;
    std::string ean;  // the checked code
    qr::Symbol qr;    // version as small as holds the text, level M
};

std::optional<std::string> CheckedEan(const std::string& value, const std::string& column,
                                      CardErrors& errors) {
    const std::string code(value.substr(0, value.find_last_not_of(' ') + 1));
    if (code.empty()) {
        errors.Add(column, "the JAN is empty");
        return std::nullopt;
    }
    if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        errors.Add(column, "the JAN \"" + code + "\" holds more than digits");
        return std::nullopt;
    }
    switch (CheckScannedCode(code)) {
        case ScannedCodeStatus::Ok:
            return code;
        case ScannedCodeStatus::WrongLength:
            errors.Add(column, "the JAN \"" + code + "\" has " + std::to_string(code.size()) +
                                   " digits, not 8 or 13");
            return std::nullopt;
        case ScannedCodeStatus::Empty:
        case ScannedCodeStatus::WrongCheckDigit:
            break;
    }
    errors.Add(column, "the check digit of the JAN \"" + code + "\" is wrong");
    return std::nullopt;
}

std::optional<qr::Symbol> QrSymbolFor(const std::string& value, const std::string& column,
                                      CardErrors& errors) {
    if (value.empty()) {
        errors.Add(column, "the QR text is empty");
        return std::nullopt;
    }
    bool lossless = true;
    const std::string cp932 = Utf8ToCp932(value, &lossless);
    if (!lossless) {
        errors.Add(column, "the QR text holds characters code page 932 lacks");
        return std::nullopt;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(cp932.data());
    thread_local qr::Encoder encoder;
    qr::EncodeOptions options;
    options.level = qr::kLevelM;
    qr::Symbol symbol;
    for (options.version = 1; options.version <= 40; ++options.version)
        if (encoder.Encode({data, cp932.size()}, options, symbol) == qr::EncodeStatus::Ok)
            return symbol;
    errors.Add(column, "the QR text is too long for a QR code");
    return std::nullopt;
}

// Draws a code onto the card's recording, on white over its box.
void DrawCardCode(Canvas& target, const CardCode& code) {
    const Pen pen = target.pen;
    const Brush brush = target.brush;
    const Font font = target.font;
    const int w = code.box.right - code.box.left, h = code.box.bottom - code.box.top;
    if (code.kind == CodeKind::Ean) {
        target.brush = SolidBrush(clWhite);
        target.FillRect(code.box);
        target.pen.colour = clBlack;
        target.font.family = code.font;
        target.font.colour = clBlack;
        const int modules = static_cast<int>(EanPattern(code.ean).size());
        DrawEan(target, code.ean, code.box.left, std::max(1, w / modules), h, w, code.box.top);
    } else {
        // The quiet zone of four modules each side is part of the fitted square.
        const int modules = code.qr.size() + 8;
        const int px = std::max(1, std::min(w, h) / modules);
        const int side = modules * px;
        const int left = code.box.left + (w - side) / 2, top = code.box.top + (h - side) / 2;
        target.brush = SolidBrush(clWhite);
        target.FillRect({left, top, left + side, top + side});
        target.brush = SolidBrush(clBlack);
        const int x0 = left + 4 * px, y0 = top + 4 * px;
        for (int r = 0; r < code.qr.size(); ++r) {
            for (int c = 0; c < code.qr.size();) {
                if (!code.qr.dark(r, c)) {
                    ++c;
                    continue;
                }
                int run = c;
                while (run < code.qr.size() && code.qr.dark(r, run)) ++run;
                target.FillRect({x0 + c * px, y0 + r * px, x0 + run * px, y0 + (r + 1) * px});
                c = run;
            }
        }
    }
    target.pen = pen;
    target.brush = brush;
    target.font = font;
}

struct TemplateObject {
    int slot;
    ObjectRecord record;
    Size box;  // the object's box as the work has it, page pixels
    std::optional<CodeField> code;
    bool hasFields;
};

// The work read once, and a scratch object folder that each card's objects are written into
// in turn: the work's own folder is only read.
class CardComposer {
  public:
    static std::unique_ptr<CardComposer> Load(const std::string& worksFolder,
                                              const std::string& work, std::string& error);
    std::optional<SavedWorkComposition> Compose(const ProductList& list, int row,
                                                std::vector<CardError>& errors);
    int pageMode() const { return pageMode_; }
    // What the work lacks, once for the run (row 0).
    void ReportLeftOut(std::vector<CardError>& errors) const {
        if (objectFolderMissing_) errors.push_back({0, "", "the work's object folder is missing"});
        for (const std::string& file : skipped_)
            errors.push_back({0, "", file + " cannot be read or drawn; left out"});
    }

  private:
    std::shared_ptr<const Bitmap> page_;
    std::uint8_t pageMode_ = 0;
    std::vector<TemplateObject> objects_;
    std::vector<std::string> skipped_;
    bool objectFolderMissing_ = false;
    QTemporaryDir scratch_;
    std::string folder_;
};

std::unique_ptr<CardComposer> CardComposer::Load(const std::string& worksFolder,
                                                 const std::string& work, std::string& error) {
    std::string stem;
    auto page = LoadSavedWorkPage(worksFolder, work, stem, error);
    if (!page) return nullptr;
    auto composer = std::make_unique<CardComposer>();
    if (!composer->scratch_.isValid()) {
        error = "no room for a scratch folder";
        return nullptr;
    }
    composer->folder_ = composer->scratch_.path().toStdString() + "/";
    composer->pageMode_ = OpenedPageMode(page->size(), App());
    composer->page_ = std::make_shared<const Bitmap>(std::move(*page));
    const std::string saved = JoinPath(worksFolder, "SData/" + stem) + "/";
    composer->objectFolderMissing_ = !Files().FolderExists(saved);
    if (composer->objectFolderMissing_) return composer;
    for (int n : ObjectSlotsIn(saved)) {
        const std::optional<ObjectRecord> record = ReadObject(saved, n);
        std::optional<Size> box;
        if (record && PlaceableOnPage(*record)) box = ObjectBoxSize(*record);
        if (!box) {
            composer->skipped_.push_back("StrData" + std::to_string(n) + ".txt");
            continue;
        }
        const bool text = !(record->decorated() && ShapeKind(record->Text) != 0);
        TemplateObject object{n, *record, *box, std::nullopt, false};
        if (text) {
            object.code = CodeFieldOf(record->Text);
            object.hasFields = !FieldsOf(record->Text).empty();
        }
        composer->objects_.push_back(std::move(object));
    }
    return composer;
}

std::optional<SavedWorkComposition> CardComposer::Compose(const ProductList& list, int row,
                                                          std::vector<CardError>& errors) {
    CardErrors rowErrors(errors, row);
    std::vector<int> objectSlots;
    std::vector<std::optional<CardCode>> codes(kObjectSlots);
    Bitmap scratch(1, 1);
    BitmapCanvas measure(scratch);
    for (const TemplateObject& object : objects_) {
        DeleteFileIfExists(ObjectFilePath(folder_, object.slot));
        DeleteFileIfExists(CompanionBitmapPath(folder_, object.slot));
        const std::string font = FontNameForIndex(InstalledFonts(), object.record.FontIndex);
        if (object.code) {
            const auto value = FieldValue(list, row, object.code->column, rowErrors);
            if (!value) continue;
            CardCode code{
                object.code->kind,
                {object.record.Left, object.record.Top, object.record.Left + object.box.width,
                 object.record.Top + object.box.height},
                font,
                {},
                {}};
            if (code.kind == CodeKind::Ean) {
                auto ean = CheckedEan(*value, object.code->column, rowErrors);
                if (!ean) continue;
                code.ean = std::move(*ean);
            } else {
                auto symbol = QrSymbolFor(*value, object.code->column, rowErrors);
                if (!symbol) continue;
                code.qr = std::move(*symbol);
            }
            codes[static_cast<std::size_t>(object.slot)] = std::move(code);
            objectSlots.push_back(object.slot);
            continue;
        }
        ObjectRecord record = object.record;
        if (object.hasFields) {
            record.Text = FillFields(object.record.Text, list, row, rowErrors);
            // As the keyboard fits an object's new text: into the box the object has now.
            FitFontRequest request;
            request.text = record.Text;
            request.fontFamily = font;
            request.recordSize = record.FontSize;
            request.boxWidth = object.box.width;
            request.boxHeight = object.box.height;
            request.decorated = record.decorated();
            const long long room = std::llabs(static_cast<long long>(record.DeformAmount));
            request.margin =
                record.decorated() ? static_cast<int>(std::min<long long>(room, INT_MAX)) : 0;
            record.FontSize = FitFontSize(request, measure);
        }
        std::optional<ObjectPicture> picture = RenderObjectPicture(record);
        if (!picture) continue;  // nothing left to show, e.g. a field that was empty
        switch (WriteObject(folder_, object.slot, record)) {
            case WriteStatus::Written:
                break;
            case WriteStatus::TextTooLong:
                rowErrors.Add("", "the text of object " + std::to_string(object.slot) +
                                      " has more lines than an object holds");
                continue;
            case WriteStatus::NotWritten:
                rowErrors.Add("", "the card cannot be composed: no room for its objects");
                return std::nullopt;
        }
        if (picture->companion)
            SaveBmp(*picture->companion, CompanionBitmapPath(folder_, object.slot));
        objectSlots.push_back(object.slot);
    }

    ObjectPrintPasses passes = RendererPrintPasses();
    passes.rasterPass = [&](Bitmap& pageCopy, const std::string& folder, int slot) {
        if (!codes[static_cast<std::size_t>(slot)]) RasterPass(pageCopy, folder, slot);
    };
    passes.vectorPass = [&](Canvas& target, const std::string& folder, int slot) {
        if (const auto& code = codes[static_cast<std::size_t>(slot)])
            DrawCardCode(target, *code);
        else
            DrawObjectVector(target, folder, slot);
    };
    SavedWorkComposition out;
    out.pageMode = pageMode_;
    out.composed = ComposePage(*page_, folder_, objectSlots, passes);
    out.skippedObjects = skipped_;
    out.objectFolderMissing = objectFolderMissing_;
    return out;
}

}  // namespace

std::optional<SavedWorkComposition> ComposeCard(const std::string& worksFolder,
                                                const std::string& work, const ProductList& list,
                                                int row, std::vector<CardError>& errors,
                                                std::string& error) {
    if (row < 0 || static_cast<std::size_t>(row) >= list.rows.size()) {
        error = "the product list has no row " + std::to_string(row + 1);
        return std::nullopt;
    }
    const auto composer = CardComposer::Load(worksFolder, work, error);
    if (!composer) return std::nullopt;
    auto card = composer->Compose(list, row, errors);
    if (!card) error = "card " + std::to_string(row + 1) + " cannot be composed";
    return card;
}

CardRun ComposeCards(const std::string& worksFolder, const std::string& work,
                     const ProductList& list,
                     const std::function<bool(int, const SavedWorkComposition&)>& card) {
    CardRun run;
    std::string error;
    const auto composer = CardComposer::Load(worksFolder, work, error);
    if (!composer) {
        run.errors.push_back({0, "", error});
        return run;
    }
    composer->ReportLeftOut(run.errors);
    for (int row = 0; row < static_cast<int>(list.rows.size()); ++row) {
        const auto composed = composer->Compose(list, row, run.errors);
        if (!composed) continue;
        ++run.cardsMade;
        if (!card(row, *composed)) break;
    }
    return run;
}

CardRun PrintCards(PrintDevice& device, const std::string& worksFolder, const std::string& work,
                   const ProductList& list, const PrintRequest& base,
                   const std::function<bool(int, int)>& progress) {
    std::string error;
    const auto composer = CardComposer::Load(worksFolder, work, error);
    if (!composer) return {{{0, "", error}}, 0};
    CardRun run;
    composer->ReportLeftOut(run.errors);
    const int total = static_cast<int>(list.rows.size());
    if (total == 0) {  // no document of one blank page
        run.errors.push_back({0, "", "the product list has no rows"});
        return run;
    }
    const PageOrientation orientation = OrientationFor(composer->pageMode());
    device.SetOrientation(orientation);
    if (!device.BeginDoc(base.title)) {
        run.errors.push_back({0, "", "the printer refused the document"});
        device.SetOrientation(PageOrientation::Portrait);
        return run;
    }
    const int ppi = device.resolution();
    bool pageBlank = true;  // BeginDoc starts the first page
    try {
        for (int row = 0; row < total; ++row) {
            if (const auto card = composer->Compose(list, row, run.errors)) {
                const Recording& drawing = *card->composed.drawing;
                const Size drawn = base.drawnSize.width > 0 && base.drawnSize.height > 0
                                       ? base.drawnSize
                                       : drawing.size();
                const Size scaled =
                    ScaleToPrinter(drawn, orientation, base.screenPPIX, base.screenPPIY, ppi, ppi);
                const Rect dest = DestinationRect(orientation, base.centre, scaled,
                                                  device.PageWidth(), device.PageHeight());
                for (int copy = 0; copy < std::max(1, base.copies); ++copy) {
                    if (!pageBlank && !device.NewPage()) throw std::runtime_error("new page");
                    Canvas* canvas = device.canvas();
                    if (!canvas) throw std::runtime_error("no canvas");
                    drawing.PlayInto(*canvas, dest);
                    pageBlank = false;
                }
                ++run.cardsMade;
            }
            if (progress && !progress(row + 1, total)) break;
        }
    } catch (const std::exception&) {
        run.errors.push_back({0, "", "printing failed"});
    }
    // The document is ended whatever happened, so that no print job stays open.
    if (!device.EndDoc()) run.errors.push_back({0, "", "printing failed"});
    device.SetOrientation(PageOrientation::Portrait);
    return run;
}

}  // namespace pb
