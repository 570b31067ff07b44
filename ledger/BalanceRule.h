#pragma once
// Balances that are not a single account's cached pair: the running
// balance in date order, and sums across records that must not be spoiled
// by a value no person typed.

#include <cmath>
#include <vector>

class CAccount;

// A sum across accounts or entries. A NaN or an infinity (from a damaged or
// hand-made file) is left out and counted, so one bad record cannot turn a
// whole total into a marker; whoever shows the total can say what it lacks.
struct FiniteSum
{
    double sum = 0.0;
    int leftOut = 0;

    void Add(double value)
    {
        if (std::isfinite(value))
            sum += value;
        else
            ++leftOut;
    }
};

// The balance after each entry, indexed like the account's register: the
// entries taken in date order (those of one calendar day in register
// order), void entries leaving the balance as it was. The latest-dated
// entry's balance is the account's balance; a register typed in date order
// gets the same figures as a walk in register order.
std::vector<double> RunningBalances(const CAccount& account);
