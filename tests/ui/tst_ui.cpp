#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"
#include "ui/skinnedwindow.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {
QString bitmap(const QTemporaryDir &dir, const QString &name, Qt::GlobalColor colour)
{
    QPixmap pixmap(60, 24);
    pixmap.fill(colour);
    const QString path = dir.filePath(name);
    pixmap.save(path, "BMP");
    return path;
}

QColor centreColour(QWidget *widget)
{
    return widget->grab().toImage().pixelColor(widget->rect().center());
}

QByteArray word(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char *id, quint32 size, const QByteArray &body)
{
    return QByteArray(id, 4) + word(size) + body;
}

// A PCM format chunk whose byte rate is 8000 bytes a second.
QByteArray format()
{
    return chunk("fmt ", 16, word(0x00010001) + word(8000) + word(8000) + word(0x00080001));
}

QByteArray wave(const QByteArray &chunks)
{
    return "RIFF" + word(quint32(4 + chunks.size())) + "WAVE" + chunks;
}
} // namespace

class tst_ui : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The button under the mouse alone is lit and its hint is in the status line; the
    // background puts every bitmap and the default text back.
    void hoverLightsOneButtonAtATime()
    {
        QTemporaryDir dir;
        const QString dark = bitmap(dir, QStringLiteral("a.bmp"), Qt::red);
        const QString lit = bitmap(dir, QStringLiteral("a_move.bmp"), Qt::green);
        QWidget window;
        window.resize(400, 200);
        auto *status = new QLabel(&window);
        status->setGeometry(0, 170, 400, 30);
        auto *first = new SkinButton(QStringLiteral("first"), QStringLiteral("Первая"), &window);
        auto *second = new SkinButton(QStringLiteral("second"), QStringLiteral("Вторая"), &window);
        first->setSkin(dark, lit);
        second->setSkin(dark, lit);
        first->move(10, 10);
        second->move(10, 60);
        HoverGroup group;
        group.setStatusLine(status, QStringLiteral("Выберите"));
        group.addButton(first, QStringLiteral("Подсказка первой"));
        group.addButton(second, QStringLiteral("Подсказка второй"));
        group.addBackground(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(first->accessibleDescription(), QStringLiteral("Подсказка первой"));

        QTest::mouseMove(first);
        QTRY_VERIFY(first->isLit());
        QVERIFY(!second->isLit());
        QCOMPARE(status->text(), QStringLiteral("Подсказка первой"));
        QCOMPARE(centreColour(first), QColor(Qt::green));

        QTest::mouseMove(second);
        QTRY_VERIFY(second->isLit());
        QVERIFY(!first->isLit());
        QCOMPARE(centreColour(first), QColor(Qt::red));
        QCOMPARE(status->text(), QStringLiteral("Подсказка второй"));

        QTest::mouseMove(&window, QPoint(300, 100));
        QTRY_VERIFY(!second->isLit());
        QVERIFY(!first->isLit());
        QCOMPARE(status->text(), QStringLiteral("Выберите"));

        // The focus a window starts with shows nothing; a move by the keyboard does.
        second->setFocus(Qt::OtherFocusReason);
        QVERIFY(!second->isLit());
        first->setFocus(Qt::TabFocusReason);
        QVERIFY(first->isLit());
        QCOMPARE(status->text(), QStringLiteral("Подсказка первой"));
    }

    // Without its bitmap a skin button is a plain button with its caption, never an invisible
    // one; without its lit bitmap it stays on the normal one.
    void skinButtonWithoutBitmap()
    {
        QTemporaryDir dir;
        SkinButton missing(QStringLiteral("missing"), QStringLiteral("Выход"));
        missing.setSkin(dir.filePath(QStringLiteral("none.bmp")),
                        dir.filePath(QStringLiteral("none_move.bmp")));
        const QSize caption = missing.fontMetrics().size(Qt::TextSingleLine, missing.text());
        QVERIFY(missing.width() > caption.width() && missing.height() > caption.height());
        QCOMPARE(missing.accessibleName(), QStringLiteral("Выход"));
        missing.setLit(true);
        QVERIFY(missing.isLit());
        QVERIFY(!missing.grab().isNull());

        SkinButton unlit(QStringLiteral("unlit"), QStringLiteral("Меню"));
        unlit.setSkin(bitmap(dir, QStringLiteral("b.bmp"), Qt::blue),
                      dir.filePath(QStringLiteral("b_move.bmp")));
        QCOMPARE(unlit.size(), QSize(60, 24));
        unlit.setLit(true);
        QCOMPARE(centreColour(&unlit), QColor(Qt::blue));
    }

    // A message of several lines keeps its line breaks, as QLabel draws them: one line per
    // line, never run together.
    void wrappedLabelKeepsLineBreaks()
    {
        std::unique_ptr<QLabel> label(
            plainLabel(QStringLiteral("Ошибка: нет вопросов\nС ошибками"), nullptr));
        const int line = label->fontMetrics().height();
        QVERIFY(label->heightForWidth(600) >= 2 * line);
        label->setText(QStringLiteral("Ошибка: нет вопросов С ошибками"));
        QVERIFY(label->heightForWidth(600) < 2 * line);
    }

    void wavDuration_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("ms");
        const QByteArray data = chunk("data", 4000, QByteArray(8, '\0'));
        QTest::newRow("pcm") << wave(format() + data) << 500;
        QTest::newRow("odd chunk padded")
            << wave(chunk("LIST", 3, QByteArray("abc\0", 4)) + format() + data) << 500;
        QTest::newRow("no format") << wave(chunk("LIST", 16, QByteArray(16, 'x')) + data) << 0;
        // The byte rate lies past the end of what was read.
        QTest::newRow("format cut before its byte rate")
            << wave(chunk("LIST", 16, QByteArray(16, 'x')) + format().first(16)) << 0;
        QTest::newRow("chunk size past the end")
            << wave(chunk("LIST", 0xFFFFFFF0u, QByteArray(24, 'x')) + format() + data) << 0;
        QTest::newRow("not a wave") << QByteArray(64, 'R') << 0;
    }

    void wavDuration()
    {
        QFETCH(QByteArray, head);
        QFETCH(int, ms);
        // A buffer of exactly the bytes read, so that a read past them is an address error.
        const auto exact = std::make_unique<char[]>(size_t(head.size()));
        std::copy(head.cbegin(), head.cend(), exact.get());
        QCOMPARE(CuePlayer::wavDurationMs(QByteArrayView(exact.get(), head.size())), ms);
    }
};

QTEST_MAIN(tst_ui)
#include "tst_ui.moc"
