# Sources of modules/ compiled into lumenfold_core, one line each.
target_sources(lumenfold_core PRIVATE
)
