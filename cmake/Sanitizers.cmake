# One switch turns on ASan + UBSan for every target of the build tree.
if(LARKSPIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer for the threaded socket layer; it cannot be combined with
# AddressSanitizer, so it gets its own build tree (make test-tsan).
option(LARKSPIN_TSAN "Build with ThreadSanitizer" OFF)
if(LARKSPIN_TSAN)
  if(LARKSPIN_SANITIZE)
    message(FATAL_ERROR "LARKSPIN_TSAN and LARKSPIN_SANITIZE cannot be combined")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
