# Test sources for modules/, one line each.
target_sources(lumenfold_tests PRIVATE
)
