// The translation unit that compiles the test programs' shared headers once
// per build tree (see orvela_test_headers in tests/CMakeLists.txt).
