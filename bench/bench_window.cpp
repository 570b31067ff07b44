// The window at scale, offscreen: opening a file and showing the register
// of its largest account, a first click in it, sorting it by a heading,
// closing it, opening the reconcile dialog, the dialogs that list every
// account or recurring transaction, and the whole window path of "quillet
// --print-to-pdf" (open, fill the dashboard, print it) for files with
// many entries, many accounts or many recurring transactions.
#include "AccountsDlg.h"
#include "BalanceBooksDlg.h"
#include "BenchSamples.h"
#include "CategoryViewDlg.h"
#include "CheckbookFile.h"
#include "DayChartDlg.h"
#include "DocHistory.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "ReconcileDlg.h"
#include "RecurringDlg.h"
#include "RegisterDlg.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{
std::unique_ptr<CQuilletDoc> Load(benchmark::State& state, const std::string& path)
{
    auto doc = std::make_unique<CQuilletDoc>();
    FileError error;
    if (!LoadCheckbookFile(*doc, path, nullptr, error))
        state.SkipWithError(error.message.c_str());
    return doc;
}

// Shown and painted once, as the user first sees it.
template <class Dialog, class... Args>
std::unique_ptr<Dialog> Show(Args&&... args)
{
    auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
    dialog->show();
    QApplication::processEvents();
    return dialog;
}

void Rate(benchmark::State& state)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

// The file opened and the first account's register shown: a fifth of the
// entries.
void BM_RegisterOpen(benchmark::State& state)
{
    BenchSamples::Prepare();
    const std::string path = BenchSamples::EntriesFile(int(state.range(0)));
    for (auto _ : state) {
        auto doc = Load(state, path);
        auto history = std::make_unique<CDocHistory>(*doc);
        auto dialog = Show<CRegisterDlg>(*history, BenchSamples::FirstAccount());
        state.PauseTiming();
        dialog.reset();
        history.reset();
        doc.reset();
        state.ResumeTiming();
    }
    Rate(state);
}

// One click on a heading: the register sorted ascending by that column
// from the order the entries were typed in.
void BM_RegisterSort(benchmark::State& state)
{
    BenchSamples::Prepare();
    auto doc = Load(state, BenchSamples::EntriesFile(int(state.range(0))));
    CDocHistory history(*doc);
    auto dialog = Show<CRegisterDlg>(history, BenchSamples::FirstAccount());
    CXListCtrl* list = dialog->List();
    const int column = int(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        list->SortColumn(column, CXListCtrl::SortInsertion);
        QApplication::processEvents();
        state.ResumeTiming();
        list->SortColumn(column, CXListCtrl::SortAscending);
        QApplication::processEvents();
    }
    Rate(state);
}

// A click on an entry, which loads it into the editor, and Ctrl+A: what
// the user does first in a register.
void BM_RegisterClick(benchmark::State& state)
{
    BenchSamples::Prepare();
    auto doc = Load(state, BenchSamples::EntriesFile(int(state.range(0))));
    CDocHistory history(*doc);
    auto dialog = Show<CRegisterDlg>(history, BenchSamples::FirstAccount());
    CXListCtrl* list = dialog->List();
    int row = 1;
    for (auto _ : state) {
        QRect cell;
        list->GetSubItemRect(row, CRegisterDlg::ColDescription, CXListCtrl::AreaBounds, cell);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QApplication::processEvents();
        row = row % 5 + 1;
    }
    Rate(state);
}

// OK on the register (its question answered) and the dialog gone.
void BM_RegisterClose(benchmark::State& state)
{
    BenchSamples::Prepare();
    auto doc = Load(state, BenchSamples::EntriesFile(int(state.range(0))));
    CDocHistory history(*doc);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = Show<CRegisterDlg>(history, BenchSamples::FirstAccount());
        state.ResumeTiming();
        dialog->accept();
        dialog.reset();
        QApplication::processEvents();
    }
    Rate(state);
}

// The reconcile dialog opened on the open file's first account.
void BM_ReconcileOpen(benchmark::State& state)
{
    BenchSamples::Prepare();
    auto doc = Load(state, BenchSamples::EntriesFile(int(state.range(0))));
    CDocHistory history(*doc);
    for (auto _ : state) {
        auto dialog = Show<CReconcileDlg>(history);
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
    Rate(state);
}

// Every dialog that lists the accounts, opened and closed in turn.
void BM_DialogsListingAccounts(benchmark::State& state)
{
    BenchSamples::Prepare();
    auto doc = Load(state, BenchSamples::AccountsFile(int(state.range(0))));
    CDocHistory history(*doc);
    for (auto _ : state) {
        Show<CAccountsDlg>(history);
        Show<CBalanceBooksDlg>(history);
        Show<CReconcileDlg>(history);
        Show<CDayChartDlg>(history);
        Show<CCategoryViewDlg>(history);
        Show<CRecurringDlg>(history);
    }
    Rate(state);
}

void BM_RecurringEditor(benchmark::State& state)
{
    BenchSamples::Prepare();
    auto doc = Load(state, BenchSamples::RecurringFile(int(state.range(0))));
    CDocHistory history(*doc);
    for (auto _ : state)
        Show<CRecurringDlg>(history);
    Rate(state);
}

// quillet --print-to-pdf OUT.pdf FILE, start to end.
void PrintToPdf(benchmark::State& state, const std::string& file)
{
    const QString pdf = QString::fromStdString(BenchSamples::ScratchPath("dashboard.pdf"));
    for (auto _ : state) {
        state.PauseTiming();
        BenchSamples::Prepare();
        state.ResumeTiming();
        CQuilletApp app;
        app.InitInstance({"quillet", "--print-to-pdf", pdf, QString::fromStdString(file)});
        if (app.ExitCode() != 0)
            state.SkipWithError("the dashboard could not be printed");
    }
    Rate(state);
}

void BM_WindowEntries(benchmark::State& state)
{
    BenchSamples::Prepare();
    PrintToPdf(state, BenchSamples::EntriesFile(int(state.range(0))));
}

void BM_WindowAccounts(benchmark::State& state)
{
    BenchSamples::Prepare();
    PrintToPdf(state, BenchSamples::AccountsFile(int(state.range(0))));
}

void BM_WindowRecurring(benchmark::State& state)
{
    BenchSamples::Prepare();
    PrintToPdf(state, BenchSamples::RecurringFile(int(state.range(0))));
}

void Entries(benchmark::internal::Benchmark* b)
{
    b->ArgName("entries")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void Headings(benchmark::internal::Benchmark* b)
{
    for (int column : {CRegisterDlg::ColDate, CRegisterDlg::ColDescription, CRegisterDlg::ColAmount})
        for (int entries : {10000, 100000, 1000000})
            b->Args({entries, column});
    b->ArgNames({"entries", "column"})->Unit(benchmark::kMillisecond);
}

void Accounts(benchmark::internal::Benchmark* b)
{
    b->ArgName("accounts")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

// The window with a few thousand accounts as well: where a walk per
// account first showed.
void WindowAccounts(benchmark::internal::Benchmark* b)
{
    b->ArgName("accounts")->Arg(1000)->Arg(2000)->Arg(4000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

void Recurring(benchmark::internal::Benchmark* b)
{
    b->ArgName("recurring")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}
}  // namespace

BENCHMARK(BM_RegisterOpen)->Apply(Entries);
BENCHMARK(BM_RegisterSort)->Apply(Headings);
BENCHMARK(BM_RegisterClick)->Apply(Entries);
BENCHMARK(BM_RegisterClose)->Apply(Entries);
BENCHMARK(BM_ReconcileOpen)->Apply(Entries);
BENCHMARK(BM_DialogsListingAccounts)->Apply(Accounts);
BENCHMARK(BM_RecurringEditor)->Apply(Recurring);
BENCHMARK(BM_WindowEntries)->Apply(Entries);
BENCHMARK(BM_WindowAccounts)->Apply(WindowAccounts);
BENCHMARK(BM_WindowRecurring)->Apply(Recurring);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    // Nothing of the user's: settings in the scratch folder, every
    // question answered yes.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(BenchSamples::ScratchPath("settings")));
    UserMessage::SetHandler([](const UserMessage::Shown&) { return UserMessage::Answer::Ok; });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
