// The main window through its real widgets: menus, toolbar, enabling after
// every step of an analysis answered through the dialogs' faces, the view's
// scroll bar and double click, the bitmap export, the about box's link and
// failures that must not end the program.
#include <QAction>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>
#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>

#include "DialogDriver.h"
#include "app/AboutBox.h"
#include "app/CommandActions.h"
#include "app/HelpWindow.h"
#include "app/HyperlinkLabel.h"
#include "app/MainWindow.h"
#include "app/QtHost.h"
#include "app/VorelView.h"
#include "app/WindowCommands.h"
#include "app/dialogs/DialogFace.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogGraphOption.h"
#include "document/dialogs/CDialogReconstruction.h"
#include "engine/AbstractException.h"
#include "engine/Exceptions.h"

namespace vorel {

// Counts the events of one type a widget receives.
class EventCounter : public QObject {
 public:
  explicit EventCounter(QEvent::Type type) : type_(type) {}
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) ++count;
    return false;
  }

 private:
  QEvent::Type type_;
};

// Counts the paint events a widget receives.
class PaintCounter : public EventCounter {
 public:
  PaintCounter() : EventCounter(QEvent::Paint) {}
};

// The program's host, with a hook that the long work runs first, on the worker.
class HookedHost : public QtHost {
 public:
  std::function<void()> beforeWork;
  void RunLongWork(const std::function<void()>& work) override {
    QtHost::RunLongWork([this, &work] {
      if (beforeWork) beforeWork();
      work();
    });
  }
};

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // A program of its own: host, document and window in a fresh program folder.
  struct Program {
    QTemporaryDir folder;
    HookedHost host;
    std::unique_ptr<CVorelDoc> document;
    std::unique_ptr<MainWindow> window;
    DialogDriver driver;
    QStringList messages;
    QString nextFile;
    bool exposed = false;

    Program() {
      host.SetProgramFolder(folder.path());
      host.seams().messageBox = [this](const std::string& text, bool) {
        messages << QString::fromStdString(text);
      };
      host.seams().fileDialog = [this](const FileDialogRequest&,
                                       bool) -> std::optional<std::string> {
        if (nextFile.isEmpty()) return std::nullopt;
        return nextFile.toStdString();
      };
      document = std::make_unique<CVorelDoc>(host);
      document->LoadGraphSettings();
      window = std::make_unique<MainWindow>(*document, host);
      window->resize(900, 640);
      window->show();
      exposed = QTest::qWaitForWindowExposed(window.get());
    }
    // Triggers a command's action as a click on it does; the dialogs it opens
    // are answered by the driver.
    void Trigger(int id) {
      window->actions().action(id)->trigger();
      QTest::qWait(20);
    }
  };

  static QString Example(const char* name) {
    return QStringLiteral(VOREL_EXAMPLES_DIR "/") + QString::fromLatin1(name);
  }

  static void ChooseFirstColumn(DialogFace& face) {
    DialogDriver::Click(face, CDialogFileChoice::kIdOpenFile);
    DialogDriver::SelectRows(face, CDialogFileChoice::kIdNames, {0});
    DialogDriver::Click(face, kIdOk);
  }

  // Every action's enabled state equals the window's rule for its command.
  static void ExpectEnablingFollowsTheDocument(Program& p, const char* step) {
    p.window->Refresh();
    for (const auto& [id, action] : p.window->actions().actions()) {
      bool expected = p.document->IsCommandEnabled(id);
      if (id == kCmdExit || id == kCmdAbout || id == kCmdHelpContents) expected = true;
      QVERIFY2(action->isEnabled() == expected,
               qPrintable(QStringLiteral("%1: command %2").arg(QLatin1String(step)).arg(id)));
    }
    QVERIFY2(!p.window->actions().action(kCmdToolbarSpare)->isEnabled(), step);
  }

  // Open data, covariance (L = 24) and the choice of eigentriples 1-4.
  static void AnalyseToTheEigentriples(Program& p) {
    p.nextFile = Example("co2-gaps.txt");
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    p.driver.Expect(QStringLiteral("CDialogCovarianceMatrix"), [](DialogFace& f) {
      DialogDriver::Type(f, CDialogCovarianceMatrix::kIdWindowLength, QStringLiteral("24"));
      DialogDriver::Click(f, kIdOk);
    });
    p.Trigger(kCmdNextStep);
  }

 private slots:
  void menusAndToolbarCarryTheCommands() {
    Program p;
    const std::vector<QMenu*> menus = p.window->menus();
    const QStringList titles{"&Data", "&Algorithm", "&View", "&Graphics", "&Help"};
    QCOMPARE(int(menus.size()), titles.size());
    QList<int> seen;
    for (size_t m = 0; m < menus.size(); ++m) {
      QCOMPARE(menus[m]->title(), titles[int(m)]);
      QList<int> ids;
      for (QAction* a : menus[m]->actions()) ids << (a->isSeparator() ? 0 : a->data().toInt());
      QList<int> expected(MainWindow::MenusLayout()[m].ids.begin(),
                          MainWindow::MenusLayout()[m].ids.end());
      QCOMPARE(ids, expected);
      seen << ids;
    }
    // Every command of the document is in a menu, with its exact text.
    for (const CommandInfo& c : kCommands) {
      QVERIFY2(seen.contains(c.id), qPrintable(QString::number(c.id)));
      QCOMPARE(p.window->actions().action(c.id)->text(), QString::fromUtf8(c.menuText));
    }
    QCOMPARE(p.window->actions().action(kCmdChoiceOfEigenvectors)->text(),
             QStringLiteral("Choice of eigenve") + QChar(0x0441) + QStringLiteral("tors"));
    QCOMPARE(menus[0]->actions().last()->text(), QStringLiteral("E&xit"));
    QCOMPARE(menus[4]->actions().last()->text(), QStringLiteral("&About Vorel program..."));
    QCOMPARE(menus[4]->actions().first()->text(), QStringLiteral("&Contents"));

    // The toolbar in order, separators included; 32856 is there and disabled.
    QList<int> bar;
    for (QAction* a : p.window->toolBar()->actions())
      bar << (a->isSeparator() ? 0 : a->data().toInt());
    const QList<int> expectedBar{57601, 57604, 0, 32813, 32811, 0,    32819,
                                 32787, 32818, 0, 32845, 32843, 32856};
    QCOMPARE(bar, expectedBar);
    for (QAction* a : p.window->toolBar()->actions()) {
      if (a->isSeparator()) continue;
      QVERIFY(!a->icon().isNull());
      if (a->data().toInt() == kCmdToolbarSpare) continue;
      QVERIFY(!a->toolTip().isEmpty());
      QVERIFY(!a->statusTip().isEmpty());
    }
    QVERIFY(!p.window->actions().action(kCmdToolbarSpare)->isEnabled());
    QCOMPARE(p.window->actions().action(kCmdOpenData)->shortcut(),
             QKeySequence(QKeySequence::Open));

    // The status bar: the message pane, then the three lock-key panes (blank).
    QCOMPARE(p.window->statusBar()->currentMessage(), QStringLiteral("Ready"));
    for (int i = 0; i < 3; ++i) {
      QVERIFY(p.window->lockPane(i)->isVisible());
      QVERIFY(p.window->lockPane(i)->text().isEmpty());
    }
    QCOMPARE(p.window->windowTitle(), QStringLiteral("Vorel"));
  }

  void wholeAnalysisEnablingAndPages() {
    Program p;
    ExpectEnablingFollowsTheDocument(p, "start");
    QVERIFY(!p.window->actions().action(kCmdNextStep)->isEnabled());
    AnalyseToTheEigentriples(p);
    QCOMPARE(p.document->dataFileName, std::string("co2-gaps.txt"));
    QCOMPARE(p.window->windowTitle(), QStringLiteral("co2-gaps.txt - Vorel"));
    QCOMPARE(p.document->currentPage, int(PageSingularValues));
    ExpectEnablingFollowsTheDocument(p, "covariance");
    p.Trigger(kCmdNextStep);
    QCOMPARE(p.document->currentPage, int(PageEigenvectors));
    ExpectEnablingFollowsTheDocument(p, "eigenvectors");

    p.driver.Expect(QStringLiteral("CDialogEVGrouping"), [](DialogFace& f) {
      DialogDriver::SelectRows(f, CDialogEVGrouping::kIdNotUsed, {0, 1, 2, 3});
      DialogDriver::Click(f, CDialogEVGrouping::kIdMoveToUsed);
      DialogDriver::Click(f, kIdOk);
    });
    p.Trigger(kCmdNextStep);
    ExpectEnablingFollowsTheDocument(p, "choice");
    QCOMPARE(p.document->nextStep, int(kStepReconstruction));

    p.driver.Expect(QStringLiteral("CDialogReconstruction"), [](DialogFace& f) {
      DialogDriver::Click(f, CDialogReconstruction::kIdProjection);
      DialogDriver::Click(f, kIdOk);
    });
    p.Trigger(kCmdNextStep);
    QCOMPARE(p.document->currentPage, int(PageInitialAndReconstructed));
    ExpectEnablingFollowsTheDocument(p, "reconstruction");
    p.Trigger(kCmdPreviousStep);
    QCOMPARE(p.document->currentPage, int(PageReconstructed));
    ExpectEnablingFollowsTheDocument(p, "previous");
    p.Trigger(kCmdNextStep);
    p.Trigger(kCmdNextStep);
    QCOMPARE(p.document->currentPage, int(PageResiduals));
    ExpectEnablingFollowsTheDocument(p, "residuals");

    p.nextFile = Example("co2.txt");
    p.driver.Expect(QStringLiteral("CDialogComparison"),
                    [](DialogFace& f) { DialogDriver::Click(f, CDialogComparison::kIdFromFile); });
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdNextStep);
    ExpectEnablingFollowsTheDocument(p, "comparison");

    p.driver.Expect(QStringLiteral("CDialogCadzow"), [](DialogFace& f) {
      DialogDriver::Click(f, CDialogCadzow::kIdCompare);
      DialogDriver::Click(f, kIdOk);
    });
    // While the iterations run: the progress bar shown and moving, the wait
    // cursor up, and the window still painting.
    PaintCounter paints;
    p.window->progressBar()->installEventFilter(&paints);
    QList<bool> visibleAtStep;
    bool waitCursor = false;
    connect(p.window->progressBar(), &QProgressBar::valueChanged, this, [&](int) {
      visibleAtStep << p.window->progressBar()->isVisible();
      const QCursor* cursor = QApplication::overrideCursor();
      if (cursor != nullptr && cursor->shape() == Qt::WaitCursor) waitCursor = true;
    });
    p.driver.Expect(QStringLiteral("CDialogComparison"),
                    [](DialogFace& f) { DialogDriver::Click(f, CDialogComparison::kIdFromFile); });
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdCadzow);
    QVERIFY(visibleAtStep.size() >= 10);
    QVERIFY(visibleAtStep.count(true) >= 10);
    QVERIFY(waitCursor);
    QVERIFY(paints.count > 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    p.window->progressBar()->removeEventFilter(&paints);
    ExpectEnablingFollowsTheDocument(p, "Cadzow");
    QVERIFY(p.document->cadzowResult);
    QVERIFY(!p.window->progressBar()->isVisible());
    p.Trigger(kCmdPageDeviations);
    QCOMPARE(p.document->currentPage, int(PageDeviations));
    ExpectEnablingFollowsTheDocument(p, "deviations");

    QVERIFY2(p.driver.faults.isEmpty(), qPrintable(p.driver.faults.join('\n')));
    QVERIFY(p.driver.idle());
    QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join('\n')));
    const QStringList expected{
        "CDialogFileChoice",     "CDialogCovarianceMatrix", "CDialogEVGrouping",
        "CDialogReconstruction", "CDialogComparison",       "CDialogFileChoice",
        "CDialogCadzow",         "CDialogComparison",       "CDialogFileChoice"};
    QCOMPARE(p.driver.seen, expected);
  }

  void scrollBarStepsTheEigenvectors() {
    Program p;
    AnalyseToTheEigentriples(p);
    p.Trigger(kCmdNextStep);
    QCOMPARE(p.document->currentPage, int(PageEigenvectors));
    VorelView* view = p.window->view();
    view->repaint();
    QScrollBar* bar = view->findChild<QScrollBar*>(QStringLiteral("100"));
    QVERIFY(bar != nullptr);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry(), QRect(view->width() - 15, 0, 15, view->height()));
    const int L = p.document->analysis.windowLength();
    QCOMPARE(L, 24);
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), L - 1);

    for (int i = 0; i < L + 3; ++i) bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(p.document->firstEigenvector, L - 1);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(p.document->firstEigenvector, L - 2);
    view->repaint();
    QCOMPARE(bar->value(), L - 2);
    // Dragging the thumb is not followed.
    bar->setSliderPosition(3);
    bar->triggerAction(QAbstractSlider::SliderMove);
    QCOMPARE(p.document->firstEigenvector, L - 2);
    for (int i = 0; i < L + 3; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(p.document->firstEigenvector, 1);
    // The mouse wheel steps it too: away from the user is up.
    QWheelEvent down(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &down);
    QCOMPARE(p.document->firstEigenvector, 2);

    // Too narrow for the bar: hidden, and on other pages too.
    p.window->resize(480, 640);
    QTest::qWait(20);
    view->repaint();
    QVERIFY(view->width() <= 480);
    QVERIFY(!bar->isVisible());
    p.window->resize(900, 640);
    p.Trigger(kCmdPageSingularValues);
    view->repaint();
    QVERIFY(!bar->isVisible());
  }

  void doubleClickOpensGraphOptionsAndChangesThePage() {
    Program p;
    // On the empty page a double click opens nothing.
    QTest::mouseDClick(p.window->view(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::qWait(50);
    QVERIFY(p.driver.seen.isEmpty() && p.driver.faults.isEmpty());

    p.nextFile = Example("co2-gaps.txt");
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    const QImage before = p.window->view()->Capture();
    QString title;
    p.driver.Expect(QStringLiteral("CDialogGraphOption"), [&title](DialogFace& f) {
      title = f.windowTitle();
      DialogDriver::Type(f, CDialogGraphOption::kIdFontHeight, QStringLiteral("20"));
      DialogDriver::Click(f, CDialogGraphOption::kIdShowGrid);
      DialogDriver::Click(f, kIdOk);
    });
    const bool grid = p.document->graphOptions[GraphIndexOfPage(PageInitialSeries)].ShowGrid;
    QTest::mouseDClick(p.window->view(), Qt::LeftButton, {}, QPoint(200, 200));
    QTest::qWait(50);
    QVERIFY2(p.driver.faults.isEmpty(), qPrintable(p.driver.faults.join('\n')));
    QCOMPARE(title, QStringLiteral("Graphic options"));
    const GraphOptions& options = p.document->graphOptions[GraphIndexOfPage(PageInitialSeries)];
    QCOMPARE(options.FontHeight, 20);
    QCOMPARE(options.ShowGrid, !grid);
    QVERIFY(p.window->view()->Capture() != before);
    // The other pages keep their options.
    QVERIFY(p.document->graphOptions[GraphIndexOfPage(PageResiduals)].FontHeight != 20);
  }

  void saveImageWritesTheViewsPixels() {
    Program p;
    p.nextFile = Example("co2-gaps.txt");
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    QTemporaryDir out;
    p.nextFile = out.filePath(QStringLiteral("page"));  // ".bmp" is appended
    p.Trigger(kCmdSaveImageBmp);
    const QImage file(out.filePath(QStringLiteral("page.bmp")));
    QVERIFY(!file.isNull());
    const QImage shown = p.window->view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file.size(), p.window->view()->size());
    QCOMPARE(file.convertToFormat(QImage::Format_RGB32), shown);
    QVERIFY(p.messages.isEmpty());
  }

  void examplesPathFromTheSettingsElseBundled() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings settings(QStringLiteral("Brelta"), QStringLiteral("Vorel"));
    settings.remove(QStringLiteral("ExamplesPath"));
    settings.sync();
    QtHost host;
    const std::string bundled = host.ExamplesPath("Vorel");
    QVERIFY(!bundled.empty());
    QVERIFY(QFileInfo::exists(QString::fromStdString(bundled) + QStringLiteral("/co2-gaps.txt")));
    settings.setValue(QStringLiteral("ExamplesPath"), QStringLiteral("/data/series"));
    settings.sync();
    QCOMPARE(host.ExamplesPath("Vorel"), std::string("/data/series"));
    settings.remove(QStringLiteral("ExamplesPath"));
  }

  void hyperlinkRules() {
    QCOMPARE(HyperlinkLabel::UrlFromText(QStringLiteral("WWW.example.org/a")),
             QStringLiteral("http://WWW.example.org/a"));
    QCOMPARE(HyperlinkLabel::UrlFromText(QStringLiteral("example.org")),
             QStringLiteral("example.org"));
    QCOMPARE(HyperlinkLabel::ToolTipFor(QStringLiteral("HTTP://x.org")),
             QStringLiteral("Go to x.org"));
    QCOMPARE(HyperlinkLabel::ToolTipFor(QStringLiteral("MailTo:me@x.org")),
             QStringLiteral("E-mail me@x.org"));
    QCOMPARE(HyperlinkLabel::ToolTipFor(QStringLiteral("https://x.org")),
             QStringLiteral("https://x.org"));
    const struct {
      int code;
      const char* reason;
    } table[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
         "processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
    };
    for (const auto& row : table) {
      QCOMPARE(HyperlinkLabel::FailureText(row.code),
               QStringLiteral("Unable to open hyperlink:\n\n") + QString::fromUtf8(row.reason));
    }

    AboutBox about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Vorel program"));
    HyperlinkLabel* link = about.findChild<HyperlinkLabel*>(QStringLiteral("1114"));
    QVERIFY(link != nullptr);
    QCOMPARE(link->url(), QStringLiteral("http://") + QLatin1String(AboutBox::kLinkText));
    QCOMPARE(link->toolTip(), QStringLiteral("Go to ") + QLatin1String(AboutBox::kLinkText));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->textColour(), HyperlinkLabel::kLinkColour);
    QVERIFY(!link->font().underline());
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseMove(link, link->rect().center());
    QVERIFY(link->hovering());
    QCOMPARE(link->textColour(), HyperlinkLabel::kHoverColour);
    QVERIFY(link->font().underline());
    // The mouse leaves: the hover timer takes the underline off within its period.
    QCursor::setPos(about.mapToGlobal(QPoint(about.width() - 2, about.height() - 2)));
    QTRY_VERIFY_WITH_TIMEOUT(!link->hovering(), 2 * HyperlinkLabel::kHoverInterval);
    QVERIFY(!link->font().underline());
    QCOMPARE(link->textColour(), HyperlinkLabel::kLinkColour);

    // A failed open shows the reason; a successful one marks the link visited.
    QString shown;
    link->setOpener([](const QString&) { return 26; });
    QTimer::singleShot(50, [&shown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->accept();
      }
    });
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(shown, HyperlinkLabel::FailureText(26));
    QVERIFY(!link->visited());
    QString opened;
    link->setOpener([&opened](const QString& url) {
      opened = url;
      return 42;
    });
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(opened, link->url());
    QVERIFY(link->visited());
    QVERIFY(!link->hovering());
    QCOMPARE(link->textColour(), HyperlinkLabel::kVisitedColour);
  }

  void failuresLeaveTheWindowRunning() {
    Program p;
    // Out of memory inside a dialog's handler (the file dialog of "Open file"):
    // the dialog closes, the message is shown, the document stays as it was.
    p.host.seams().fileDialog = [](const FileDialogRequest&, bool) -> std::optional<std::string> {
      throw std::bad_alloc();
    };
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    QCOMPARE(p.messages, QStringList{QString::fromUtf8(MainWindow::kMessageNoMemory)});
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(p.document->nextStep, int(kStepNone));
    QVERIFY(p.window->isVisible());

    // The document still works afterwards.
    p.messages.clear();
    p.host.seams().fileDialog = [](const FileDialogRequest&, bool) -> std::optional<std::string> {
      return (QStringLiteral(VOREL_EXAMPLES_DIR) + QStringLiteral("/co2-gaps.txt")).toStdString();
    };
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    QCOMPARE(p.document->currentPage, int(PageInitialSeries));
    QVERIFY(p.messages.isEmpty());

    // Out of memory in a command of the view itself.
    p.host.seams().fileDialog = [](const FileDialogRequest&, bool) -> std::optional<std::string> {
      throw std::bad_alloc();
    };
    p.Trigger(kCmdSaveImageBmp);
    QCOMPARE(p.messages, QStringList{QString::fromUtf8(MainWindow::kMessageNoMemory)});
    QVERIFY(p.window->isVisible());
    QVERIFY(p.window->actions().action(kCmdNextStep)->isEnabled());
  }

  // Long work runs on a worker while the window keeps painting from the page
  // it last drew; the user's input, commands and a close wait for its end.
  void longWorkKeepsTheWindowPainting() {
    QApplication::setQuitOnLastWindowClosed(false);
    Program p;
    QVERIFY(p.exposed);
    p.nextFile = Example("co2-gaps.txt");
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    QCOMPARE(p.document->currentPage, int(PageInitialSeries));
    VorelView* view = p.window->view();
    view->repaint();
    const QImage page = view->grab().toImage();

    PaintCounter paints;
    EventCounter keys(QEvent::KeyPress);
    view->installEventFilter(&paints);
    view->installEventFilter(&keys);
    std::atomic<bool> changed{false};
    std::atomic<bool> released{false};
    int phase = 0;
    int paintsBefore = 0;
    bool keptThePicture = false;
    bool visibleAfterClose = false;
    int keysDuringWork = -1;
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [&] {
      if (!changed) return;
      if (phase == 0) {
        paintsBefore = paints.count;
        view->update();
        QCoreApplication::postEvent(
            view, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
        phase = 1;
      } else if (phase == 1 && paints.count > paintsBefore) {
        // The document now names the empty page: a view reading it would draw that.
        keptThePicture = view->grab().toImage() == page;
        keysDuringWork = keys.count;
        p.window->close();
        visibleAfterClose = p.window->isVisible();
        p.window->actions().action(kCmdNextStep)->trigger();
        phase = 2;
        released = true;
      }
    });
    timer.start();
    QThread* worker = nullptr;
    p.host.RunLongWork([&] {
      worker = QThread::currentThread();
      p.document->currentPage = PageEmpty;
      changed = true;
      // Released by the timer on the window's thread (bounded, so that a
      // window that does not process events fails instead of hanging).
      for (int i = 0; i < 2000 && !released; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
    timer.stop();
    QVERIFY(released);
    QVERIFY(worker != nullptr && worker != QCoreApplication::instance()->thread());
    QVERIFY(paints.count > paintsBefore);
    QVERIFY(keptThePicture);
    QCOMPARE(keysDuringWork, 0);
    QVERIFY(visibleAfterClose);
    // The command triggered meanwhile did not run: no covariance dialog opened.
    QCOMPARE(p.driver.seen, QStringList{QStringLiteral("CDialogFileChoice")});
    QCOMPARE(p.document->nextStep, int(kStepCovariance));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Afterwards the held key arrives, the window closes as asked, and the
    // document is whole.
    p.document->currentPage = PageInitialSeries;
    QTRY_COMPARE(keys.count, 1);
    QTRY_VERIFY(!p.window->isVisible());
    QVERIFY(!view->frozen());
    QCOMPARE(p.document->analysis.length(), 468);
    QVERIFY(p.driver.faults.isEmpty());
    view->removeEventFilter(&paints);
    view->removeEventFilter(&keys);
    QApplication::setQuitOnLastWindowClosed(true);
  }

  // A close asked for while a command's work runs: the command ends with the
  // document it started on, then the window closes.
  void closeDuringACommandsWorkWaitsForTheCommand() {
    QApplication::setQuitOnLastWindowClosed(false);
    Program p;
    p.nextFile = Example("co2-gaps.txt");
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    std::atomic<bool> released{false};
    p.host.beforeWork = [&released] {
      for (int i = 0; i < 2000 && !released; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    };
    bool visibleAfterClose = false;
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [&] {
      if (!p.host.InLongWork() || released) return;
      p.window->close();
      visibleAfterClose = p.window->isVisible();
      released = true;
    });
    timer.start();
    p.driver.Expect(QStringLiteral("CDialogCovarianceMatrix"), [](DialogFace& f) {
      DialogDriver::Type(f, CDialogCovarianceMatrix::kIdWindowLength, QStringLiteral("24"));
      DialogDriver::Click(f, kIdOk);
    });
    p.Trigger(kCmdNextStep);
    timer.stop();
    p.host.beforeWork = nullptr;
    QVERIFY(released);
    QVERIFY(visibleAfterClose);
    QVERIFY(!p.window->isVisible());
    QCOMPARE(p.document->nextStep, int(kStepChoice));
    QCOMPARE(p.document->currentPage, int(PageSingularValues));
    QCOMPARE(p.document->analysis.eigenvalues.length(), 24);
    QVERIFY2(p.driver.faults.isEmpty(), qPrintable(p.driver.faults.join('\n')));
    QVERIFY(p.messages.isEmpty());
    QApplication::setQuitOnLastWindowClosed(true);
  }

  void longWorkPassesItsFailureOn() {
    Program p;
    bool caught = false;
    try {
      p.host.RunLongWork([] { throw std::bad_alloc(); });
    } catch (const std::bad_alloc&) {
      caught = true;
    }
    QVERIFY(caught);
    QString message;
    try {
      p.host.RunLongWork([] { throw ExceptionWindowLength(); });
    } catch (const AbstractException& e) {
      message = QString::fromStdString(e.message());
    }
    QCOMPARE(message, QString::fromStdString(ExceptionWindowLength().message()));
    QVERIFY(!p.host.InLongWork());
    QVERIFY(!p.window->view()->frozen());
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Through a command: the covariance step's work refuses the window length;
    // its message is shown over the dialog, which stays open until cancelled,
    // and the document stays where it was.
    p.nextFile = Example("co2-gaps.txt");
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), ChooseFirstColumn);
    p.Trigger(kCmdOpenData);
    p.driver.Expect(QStringLiteral("CDialogCovarianceMatrix"), [](DialogFace& f) {
      DialogDriver::Type(f, CDialogCovarianceMatrix::kIdWindowLength, QStringLiteral("2000000"));
      DialogDriver::Click(f, kIdOk);
      DialogDriver::Click(f, kIdCancel);
    });
    p.Trigger(kCmdNextStep);
    QCOMPARE(p.messages, QStringList{QString::fromStdString(ExceptionWindowLength().message())});
    QCOMPARE(p.document->nextStep, int(kStepCovariance));
    QVERIFY2(p.driver.faults.isEmpty(), qPrintable(p.driver.faults.join('\n')));
    QVERIFY(p.window->isVisible());
  }

  void openFileGivenAtStartAndHelp() {
    Program p;
    QString listed;
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), [&listed](DialogFace& f) {
      listed = QString::fromStdString(f.Text(CDialogFileChoice::kIdFullPath));
      DialogDriver::SelectRows(f, CDialogFileChoice::kIdNames, {0});
      DialogDriver::Click(f, kIdOk);
    });
    p.window->OpenDataFile(Example("co2-gaps.txt"));
    QTest::qWait(20);
    QCOMPARE(listed, Example("co2-gaps.txt"));
    QCOMPARE(p.document->currentPage, int(PageInitialSeries));

    // A file dropped on the window: the same, on the dropped file.
    listed.clear();
    p.driver.Expect(QStringLiteral("CDialogFileChoice"), [&listed](DialogFace& f) {
      listed = QString::fromStdString(f.Text(CDialogFileChoice::kIdFullPath));
      DialogDriver::SelectRows(f, CDialogFileChoice::kIdNames, {0});
      DialogDriver::Click(f, kIdOk);
    });
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Example("co2.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p.window.get(), &drop);
    QTRY_COMPARE(listed, Example("co2.txt"));
    QTRY_COMPARE(p.document->dataFileName, std::string("co2.txt"));
    QCOMPARE(p.window->windowTitle(), QStringLiteral("co2.txt - Vorel"));

    p.Trigger(kCmdHelpContents);
    QVERIFY(p.window->helpWindow() != nullptr);
    QVERIFY(p.window->helpWindow()->isVisible());
    QVERIFY(p.window->helpWindow()->browser()->toPlainText().contains(
        QStringLiteral("Vorel user guide")));
  }
};

}  // namespace vorel

QTEST_MAIN(vorel::MainWindowTest)
#include "MainWindowTest.moc"
