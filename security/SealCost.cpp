#include "SealCost.h"

#include <sodium.h>

#ifdef QUILLET_TEST_SEAL_COST

SealCost SealWriteCost()
{
    return {1, 64};
}

SealCost SealCostFloor()
{
    return {1, crypto_pwhash_MEMLIMIT_MIN / 1024};
}

SealCost SealCostCeiling()
{
    return {4, 1024};
}

#else

SealCost SealWriteCost()
{
    return {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE / 1024};
}

SealCost SealCostFloor()
{
    return SealWriteCost();
}

SealCost SealCostCeiling()
{
    return {2 * crypto_pwhash_OPSLIMIT_SENSITIVE, crypto_pwhash_MEMLIMIT_SENSITIVE / 1024};
}

#endif
