// The line store's transfers: loading and saving the whole content through a conversion, and the
// switch between rich and plain text.
#include "documents/QxRichEditStrings.h"

#include "documents/QxConversionList.h"
#include "documents/QxScopeExit.h"
#include "documents/QxStreamTransfer.h"
#include "editing/QxRichEdit.h"
#include "platform/errors.h"
#include "platform/richedit/engine.h"

#include <QBuffer>

using namespace richedit;

namespace {

const QString kFailedToLoad = QStringLiteral("Failed to Load Stream");
const QString kFailedToSave = QStringLiteral("Failed to Save Stream");

// For the length of one transfer: the editor's progress event is attached to the conversion; at the
// end, whatever happens, it is detached and the conversion is released.
class ConversionUse {
public:
    ConversionUse(TQxConversion& conversion, TQxRichEdit& editor, const TConversionProgressEvent& event)
        : conversion_(conversion) {
        conversion_.SetProgressCallback([&editor, &event](int percent) {
            if (event) event(&editor, percent);
        });
    }
    ~ConversionUse() {
        conversion_.Done();
        conversion_.SetProgressCallback({});
    }
    ConversionUse(const ConversionUse&) = delete;
    ConversionUse& operator=(const ConversionUse&) = delete;

private:
    TQxConversion& conversion_;
};

std::uint32_t selectionFlag(TRichStreamModes modes) {
    return modes.testFlag(TRichStreamModeFlag::smSelection) ? SFF_SELECTION : 0;
}

}  // namespace

TQxRichEditStrings::TQxRichEditStrings(TQxRichEdit& editor) : editor_(editor) {}

TQxRichEditStrings::Transfer TQxRichEditStrings::ChooseFormat(TQxConversion& conversion) const {
    if (editor_.PlainText()) return Transfer::Plain;
    switch (editor_.StreamFormat()) {
    case TRichStreamFormat::sfRichText: return Transfer::Rich;
    case TRichStreamFormat::sfPlainText: return Transfer::Plain;
    case TRichStreamFormat::sfDefault: break;
    }
    const TConversionTextKind kind = conversion.TextKind();
    return kind == TConversionTextKind::Rich || kind == TConversionTextKind::RichRetryPlain ? Transfer::Rich
                                                                                            : Transfer::Plain;
}

// ---- loading ------------------------------------------------------------------------------------

void TQxRichEditStrings::LoadFile(const QString& fileName) {
    editor_.HandleNeeded();
    TQxConversion& conversion =
        TConversionFormatList::Instance().ConversionForFile(fileName, TConversionKind::Import, editor_.window());
    ConversionUse use(conversion, editor_, OnConversionProgress);
    if (!conversion.OpenFile(fileName, TConversionKind::Import)) throw platform::EReadError(kFailedToLoad);
    Load(conversion);
}

void TQxRichEditStrings::LoadStream(QIODevice& stream) {
    editor_.HandleNeeded();
    TQxConversion& conversion =
        TConversionFormatList::Instance().ConversionForStream(stream, TConversionKind::Import, editor_.window());
    ConversionUse use(conversion, editor_, OnConversionProgress);
    if (!conversion.OpenStream(stream, TConversionKind::Import)) throw platform::EReadError(kFailedToLoad);
    Load(conversion);
}

void TQxRichEditStrings::Load(TQxConversion& conversion) {
    Engine& engine = editor_.HandleNeeded();
    const TRichStreamModes modes = editor_.StreamMode();
    const Transfer transfer = ChooseFormat(conversion);

    const auto streamIn = [&](Transfer as, std::uint32_t extraFlags) {
        const std::uint32_t format = as == Transfer::Rich ? SF_RTF : SF_TEXT;
        TQxStreamReader reader(conversion,
                               as == Transfer::Rich ? TransferContent::RichText : TransferContent::PlainText,
                               format == SF_TEXT && (extraFlags & SF_UNICODE) ? EngineTextEncoding::Utf16
                                                                             : EngineTextEncoding::Utf8);
        EDITSTREAM stream;
        stream.pfnCallback = [&reader](char* buffer, int count, int& transferred) {
            return reader(buffer, count, transferred);
        };
        engine.streamIn(format | extraFlags, stream);
        return stream.dwError;
    };

    std::uint32_t extra = selectionFlag(modes);
    if (transfer == Transfer::Rich && modes.testFlag(TRichStreamModeFlag::smPlainRtf)) extra |= SFF_PLAINRTF;
    if (transfer == Transfer::Plain && modes.testFlag(TRichStreamModeFlag::smUnicode)) extra |= SF_UNICODE;

    std::uint32_t error = streamIn(transfer, extra);
    if (!conversion.UserCancelled()) {
        // The other basic format, without the extra flags.
        if (error != 0 && conversion.Retry())
            error = streamIn(transfer == Transfer::Rich ? Transfer::Plain : Transfer::Rich, 0);
        if (conversion.HasError()) throw platform::EConvertError(conversion.ErrorText());
        if (error != 0) throw platform::EReadError(kFailedToLoad);
    }
    engine.exSetSel({0, 0});
    engine.scrollCaret();
}

// ---- saving -------------------------------------------------------------------------------------

void TQxRichEditStrings::SaveFile(const QString& fileName) {
    editor_.HandleNeeded();
    TQxConversion& conversion =
        TConversionFormatList::Instance().ConversionForFile(fileName, TConversionKind::Export, editor_.window());
    ConversionUse use(conversion, editor_, OnConversionProgress);
    if (!conversion.OpenFile(fileName, TConversionKind::Export)) throw platform::EWriteError(kFailedToSave);
    Save(conversion);
}

void TQxRichEditStrings::SaveStream(QIODevice& stream) {
    editor_.HandleNeeded();
    TQxConversion& conversion =
        TConversionFormatList::Instance().ConversionForStream(stream, TConversionKind::Export, editor_.window());
    ConversionUse use(conversion, editor_, OnConversionProgress);
    if (!conversion.OpenStream(stream, TConversionKind::Export)) throw platform::EWriteError(kFailedToSave);
    Save(conversion);
}

void TQxRichEditStrings::Save(TQxConversion& conversion) {
    Engine& engine = editor_.HandleNeeded();
    const TRichStreamModes modes = editor_.StreamMode();
    std::uint32_t format = 0;
    if (ChooseFormat(conversion) == Transfer::Rich) {
        format = modes.testFlag(TRichStreamModeFlag::smNoObjects) ? SF_RTFNOOBJS : SF_RTF;
        if (modes.testFlag(TRichStreamModeFlag::smPlainRtf)) format |= SFF_PLAINRTF;
    } else {
        format = SF_TEXT;
        if (modes.testFlag(TRichStreamModeFlag::smUnicode)) format |= SF_UNICODE;
    }
    format |= selectionFlag(modes);

    TQxStreamWriter writer(conversion);
    EDITSTREAM stream;
    stream.pfnCallback = [&writer](char* buffer, int count, int& transferred) {
        return writer(buffer, count, transferred);
    };
    engine.streamOut(format, stream);
    if (conversion.UserCancelled()) return;  // nothing committed: a file target stays as it was
    if (conversion.HasError()) throw platform::EConvertError(conversion.ErrorText());
    if (stream.dwError != 0) throw platform::EWriteError(kFailedToSave);
    conversion.Commit();
}

// ---- text mode ----------------------------------------------------------------------------------

void TQxRichEditStrings::SwitchTextMode(TextMode mode) {
    editor_.HandleNeeded();
    const TRichStreamFormat savedFormat = editor_.StreamFormat();
    const TRichStreamModes savedModes = editor_.StreamMode();
    const ScopeExit restore([&] {
        editor_.SetStreamFormat(savedFormat);
        editor_.SetStreamMode(savedModes);
    });
    // The text travels as plain text both ways, so all formatting, pictures and objects are dropped
    // and a text that happens to look like RTF stays text.
    editor_.SetStreamFormat(TRichStreamFormat::sfPlainText);
    editor_.SetStreamMode({});

    QBuffer memory;
    memory.open(QIODevice::ReadWrite);
    SaveStream(memory);
    memory.seek(0);
    editor_.ApplyTextMode(mode);
    LoadStream(memory);
}
