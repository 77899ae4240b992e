#include "documents/QxConversionList.h"

#include <QFileInfo>

TConversionFormatList& TConversionFormatList::Instance() {
    static TConversionFormatList list;
    return list;
}

TConversionFormatList::TConversionFormatList() {
    conversions_.push_back(std::make_unique<TQxRTFConversion>());
    rtfIndex_ = int(conversions_.size()) - 1;
    conversions_.push_back(std::make_unique<TQxTextConversion>());
    textIndex_ = int(conversions_.size()) - 1;
}

TQxConversion& TConversionFormatList::ConversionForFile(const QString& fileName, TConversionKind kind,
                                                        QWidget* parentWindow,
                                                        TQxConversion* defaultConversion) const {
    // The extension is what follows the last dot of the file's own name.
    const QString ext = QFileInfo(fileName).suffix().toLower();
    for (const auto& conversion : conversions_) {
        conversion->Init(parentWindow);
        if (conversion->CanHandleExt(ext, kind) &&
            (kind == TConversionKind::Export || conversion->IsFileFormat(fileName)))
            return *conversion;
        conversion->Done();
    }
    TQxConversion& fallback = defaultConversion ? *defaultConversion : RTFConversion();
    fallback.Init(parentWindow);
    return fallback;
}

TQxConversion& TConversionFormatList::ConversionForStream(QIODevice& stream, TConversionKind kind,
                                                          QWidget* parentWindow,
                                                          TQxConversion* defaultConversion) const {
    TQxConversion* chosen = defaultConversion;
    if (!chosen) {
        const bool rich = kind == TConversionKind::Export || RTFConversion().IsStreamFormat(stream);
        chosen = rich ? &RTFConversion() : &TextConversion();
    }
    chosen->Init(parentWindow);
    return *chosen;
}
