// The six-panel status bar, the hint in panel 0 and the clock.
#include "app/ed.h"
#include "app/uibuilders.h"

#include "editing/QxRichEdit.h"
#include "app/wordcount.h"
#include "platform/localeformat.h"
#include "platform/richedit/engine.h"
#include "platform/shell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

void TMainform::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    auto* strip = new QWidget(bar);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    struct Panel {
        int width;
        Qt::Alignment alignment;
    };
    const Panel panels[6] = {{250, Qt::AlignLeft}, {60, Qt::AlignHCenter}, {110, Qt::AlignLeft},
                             {120, Qt::AlignLeft}, {80, Qt::AlignLeft},    {50, Qt::AlignRight}};
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(strip);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // The last panel takes what is left of the bar, so the clock is never cut.
        if (i < 5) label->setFixedWidth(panels[i].width);
        else label->setMinimumWidth(panels[i].width);
        label->setAlignment(panels[i].alignment | Qt::AlignVCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        layout->addWidget(label, i == 5 ? 1 : 0);
        StatusPanels[i] = label;
    }
    bar->addWidget(strip, 1);
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& m) {
        if (!m.isEmpty()) bar->clearMessage();  // panel 0 shows the hints; no overlaid messages
    });
}

void TMainform::ShowHint() { StatusPanels[0]->setText(LongHint(ApplicationHint)); }

void TMainform::ShowCaretPosition() {
    richedit::Engine& engine = editor->HandleNeeded();
    const int p = editor->SelStart();
    const int line = engine.exLineFromChar(p);
    const int column = p - engine.lineIndex(line);
    StatusPanels[1]->setText(QStringLiteral("%1:%2").arg(line).arg(column));
}

void TMainform::ShowCharCount() {
    // The whole text as the control hands it out: a paragraph break is CR LF there.
    const int count = editor->HandleNeeded().getTextLength(richedit::TextLengthMode::CrLf);
    StatusPanels[2]->setText(QStringLiteral("Celkem zn.=%1").arg(count));
}

void TMainform::ShowWordCount() {
    StatusPanels[3]->setText(QStringLiteral("Počet slov = %1").arg(WordCount.Count(editor->HandleNeeded())));
}

void TMainform::ShowModifiedState() { StatusPanels[4]->setText(editor->Modified() ? QStringLiteral("Změněno") : QString()); }

void TMainform::RefreshCountPanels() {
    ShowCaretPosition();
    ShowCharCount();
    ShowWordCount();
}

void TMainform::Timer1Timer() {
    StatusPanels[5]->setText(platform::longTimeText(QTime::currentTime()) + QStringLiteral("        "));
    ShowModifiedState();
}

void TMainform::Timer2Timer() {
    if (DocumentPath.isEmpty()) return;
    SaveDocument(DocumentPath);  // on every tick, modified or not
    platform::beep();
    editor->setFocus();
}
