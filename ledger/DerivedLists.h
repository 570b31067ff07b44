#pragma once
// The small singly linked lists the document derives from its records.
// Their text fields have fixed widths: longer texts are cut.

#include <memory>
#include <string>

// One remembered entry for description completion.
struct MEMO_NODE
{
    static constexpr size_t kTextMax = 29;
    std::string description;
    std::string category;
    int flag = 0;
    std::unique_ptr<MEMO_NODE> next;
};

// One row of the balance books: an account, or a group's "Summary".
struct BALANCE_NODE
{
    static constexpr size_t kNameMax = 29;
    static constexpr size_t kNumberMax = 33;
    std::string name;
    std::string number;
    double balance = 0.0;
    double cleared = 0.0;
    int groupIndex = 0;  // 0 first of its number, 1, 2 ... further, -1 summary
    std::unique_ptr<BALANCE_NODE> next;
};

// The spending total of one category.
struct CATTOTAL_NODE
{
    static constexpr size_t kNameMax = 31;
    std::string name;
    double total = 0.0;
    double spendingSum = 0.0;
    std::unique_ptr<CATTOTAL_NODE> next;

    double Spending() const { return total < 0.0 ? -total : 0.0; }
};

// Frees a list node by node, so a long list cannot exhaust the stack
// through nested destructors.
template <class Node>
void FreeNodeList(std::unique_ptr<Node>& head)
{
    while (head)
        head = std::move(head->next);
}

inline std::string CutText(const std::string& text, size_t max)
{
    return text.size() > max ? text.substr(0, max) : text;
}
