# Makes the user guide OUT (HTML) from README: every part between the lines
# "<!-- developers -->" and "<!-- /developers -->" is left out, the rest goes through
# CMARK (cmark-gfm, with tables).
cmake_minimum_required(VERSION 3.25)
file(READ ${README} text)
set(open "<!-- developers -->")
set(close "<!-- /developers -->")
while(TRUE)
    string(FIND "${text}" "${open}" from)
    if(from EQUAL -1)
        break()
    endif()
    string(SUBSTRING "${text}" ${from} -1 rest)
    string(FIND "${rest}" "${close}" to)
    if(to EQUAL -1)
        message(FATAL_ERROR "${README}: \"${open}\" without \"${close}\"")
    endif()
    string(LENGTH "${close}" closeLength)
    math(EXPR after "${to} + ${closeLength}")
    string(SUBSTRING "${text}" 0 ${from} before)
    string(SUBSTRING "${rest}" ${after} -1 rest)
    set(text "${before}${rest}")
endwhile()
file(WRITE ${OUT}.md "${text}")
execute_process(COMMAND ${CMARK} --extension table --to html ${OUT}.md
    OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${CMARK} failed on ${OUT}.md")
endif()
file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"ru\">
<head>
<meta charset=\"utf-8\">
<title>Quenmara — платежные поручения</title>
<style>
body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.4; }
img { max-width: 100%; }
table { border-collapse: collapse; }
th, td { border: 1px solid #aaa; padding: 0.2em 0.5em; vertical-align: top; text-align: left; }
pre, code { background: #f4f4f4; }
</style>
</head>
<body>
${body}</body>
</html>
")
file(REMOVE ${OUT}.md)
