#include "kiosk/support/money_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using K = enumMoneyKind;

// A kiosk's money book on a real journal file of a temporary drive; each
// "run" of the kiosk is a new book on the same file.
class MoneyBook : public ::testing::Test {
protected:
    struct stEvent {
        int code;
        std::string text;
        bool operator==(const stEvent&) const = default;
    };

    std::unique_ptr<CMoneyBook> Run() {
        auto book = std::make_unique<CMoneyBook>(
            CMoneyBook::stHooks{[this](int code, std::string_view text) {
                                    m_events.push_back({code, std::string(text)});
                                },
                                [](std::string_view) {}});
        EXPECT_TRUE(book->Open());
        return book;
    }

    std::vector<stEvent> TakeEvents() { return std::exchange(m_events, {}); }

    static void PayTenThousand(CMoneyBook& book) {
        book.Write({.kind = K::InletsOpened, .target = 35000});
        book.Write({.kind = K::MoneyCounted, .received = 10000, .target = 35000});
    }

    CTempDrive m_drive;
    std::vector<stEvent> m_events;
    const stFloatCounts m_float{100, 100, 0, 50};
};

TEST_F(MoneyBook, MoneyACrashLeftOpenIsReportedOnceAtTheNextStart) {
    auto first = Run();
    EXPECT_EQ(first->Reconcile(m_float).keyCards, 50);
    EXPECT_TRUE(TakeEvents().empty()) << "a new journal has nothing to say";
    PayTenThousand(*first);
    first.reset();  // the power goes

    auto second = Run();
    second->Reconcile(m_float);
    EXPECT_EQ(TakeEvents(), (std::vector<stEvent>{{701, "투입 후 정산 안됨 10,000원"}}));
    second.reset();
    Run()->Reconcile(m_float);
    EXPECT_TRUE(TakeEvents().empty()) << "said once";
}

TEST_F(MoneyBook, TheFloatFileIsCheckedAgainstTheJournal) {
    auto book = Run();
    book->Reconcile(m_float);
    // A payout the board confirmed, and the power went before the float file
    // was written: the journal's float is the true one.
    book->Write({.kind = K::DispenseResult, .won = 5000, .pieces = {.notes5000 = 1}});
    book.reset();
    const stFloatCounts corrected = Run()->Reconcile(m_float);
    EXPECT_EQ(corrected.notes5000, 99);
    EXPECT_EQ(LoadFloatCounts().notes5000, 99) << "and written";
    EXPECT_EQ(TakeEvents().at(0).text,
              "시재 파일에 빠진 방출 반영: 1,000원권 100장, 5,000원권 99장, 10,000원권 0장, "
              "RF카드 50장");

    // Refilled by hand: the file is taken as it is, and said.
    const stFloatCounts refilled{200, 100, 0, 50};
    EXPECT_EQ(Run()->Reconcile(refilled).notes1000, 200);
    EXPECT_EQ(TakeEvents(),
              (std::vector<stEvent>{{702,
                                     "시재 파일과 장부 다름: 파일 1,000원권 200장, 5,000원권 "
                                     "100장, 10,000원권 0장, RF카드 50장 / 장부 1,000원권 100장, "
                                     "5,000원권 99장, 10,000원권 0장, RF카드 50장"}}));
    Run()->Reconcile(refilled);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(MoneyBook, EachVisitIsCheckedOnceWhenTheGuestIsHome) {
    auto book = Run();
    book->Reconcile(m_float);
    PayTenThousand(*book);
    book->Write({.kind = K::RefundDecided, .won = 10000, .received = 10000});
    book->Write({.kind = K::PayoutRequested, .won = 10000});
    book->Write({.kind = K::PayoutAnswered, .result = 0});
    book->Write({.kind = K::SessionEnded});
    book->Audit();
    EXPECT_EQ(TakeEvents(), (std::vector<stEvent>{{701, "지급 안됨 10,000원 (투입 10,000원)"}}));
    book->Audit();
    EXPECT_TRUE(TakeEvents().empty());

    CMoneyJournal reader;
    ASSERT_TRUE(reader.Open(CMoneyJournal::DefaultFile(), true));
    EXPECT_EQ(reader.EntriesFrom(reader.LastIdOf(K::OpenMoney)).at(0).won, 10000)
        << "the finding is kept in the journal";
    book.reset();
    Run()->Reconcile(m_float);
    EXPECT_TRUE(TakeEvents().empty()) << "an ended visit is not reported again";
}

}  // namespace

}  // namespace hx
