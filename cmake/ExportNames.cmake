# Module-definition files name the decorated __stdcall symbol behind each export (Name = Name@bytes),
# as 32-bit x86 needs. x86_64 decorates nothing: there the file is used with those decorations taken out.
function(corvane_exports_file source out_var)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(${out_var} ${source} PARENT_SCOPE)
        return()
    endif()
    get_filename_component(name ${source} NAME)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/exports/${name})
    file(READ ${source} text)
    string(REGEX REPLACE "[ \t]*=[ \t]*[A-Za-z_][A-Za-z0-9_]*@[0-9]+" "" text "${text}")
    file(WRITE ${generated} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    set(${out_var} ${generated} PARENT_SCOPE)
endfunction()

# The linker's name of a __stdcall function taking the given bytes of arguments.
function(corvane_stdcall_symbol name bytes out_var)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(${out_var} _${name}@${bytes} PARENT_SCOPE)
    else()
        set(${out_var} ${name} PARENT_SCOPE)
    endif()
endfunction()
