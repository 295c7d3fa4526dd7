// The window classes the form library registers. Other programs (the end-to-end tests,
// the benchmarks) find the program's windows by them.
#pragma once

namespace tivoler {

constexpr char kApplicationWindowClass[] = "TivolerApplication";
constexpr char kFormWindowClass[] = "TivolerForm";
constexpr char kViewWindowClass[] = "TivolerView";

}  // namespace tivoler
