#pragma once
// Products of two 64-bit numbers, exactly.

namespace numlib::detail {

__extension__ typedef unsigned __int128 uint128;

}  // namespace numlib::detail
