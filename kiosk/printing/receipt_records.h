#pragma once
// What a receipt prints: the guest ticket after every sale and the card
// receipt after an approved card payment. The sale fills them; the printer
// thread copies them into its jobs and hands them back with each result.
// Texts are UTF-8 here and become code page 949 where a document is built.

#include <cstdint>
#include <string>

namespace hx {

struct stShopCardInfo {
    std::string roomName;
    std::string checkOutText;  // formatted as the payment time is printed
    std::string amountText;    // money text, "35,000"
    int64_t paymentTime = 0;   // seconds since 1970
    std::string footerText;
    std::string stayTypeText;  // "대실(3시간)" or "숙박"
    std::string roomClassName;
};

inline constexpr int kCreditCardReceipt = 201;

struct stCardReceiptInfo {
    int kind = 0;  // kCreditCardReceipt
    std::string productName;
    std::string merchantName;
    int amount = 0;         // won
    int valueAddedTax = 0;  // won
    std::string representative;
    std::string phone;
    std::string businessNo;
    std::string address;
    std::string saleDate;
    std::string deviceName;
    std::string cardNo;
    std::string cardName;
    std::string merchantNo;
    std::string installmentMonths;  // decimal text
    std::string approvalNo;
};

}  // namespace hx
