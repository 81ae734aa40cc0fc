# Test sources for space/, one line each.
target_sources(lumenfold_tests PRIVATE
)
