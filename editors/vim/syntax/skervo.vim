" Skervo scripts (.skervo): the forms of a line, coloured as the TextMate
" grammar of editors/vscode colours them. Later items win where several
" begin at the same place: the plain line comes first.
if exists("b:current_syntax")
  finish
endif

" A plain line starts its program, up to the first blank, as the runner does.
syn match skervoProgram /^\s*\zs[^" \t]\S*/ nextgroup=skervoArguments
syn match skervoProgram /[^" \t]\S*/ contained nextgroup=skervoArguments
syn match skervoQuoted /^\s*\zs"[^"]*"/ nextgroup=skervoArguments
syn match skervoQuoted /"[^"]*"/ contained nextgroup=skervoArguments
syn match skervoArguments /\s.*$/ contained

syn match skervoLaunch /^\s*\zs\(>>\=\|@\)/ nextgroup=skervoProgram,skervoQuoted,skervoService skipwhite
syn match skervoPause /^\s*\zs@\ze[+-]\=\(\(0[xX]\|\$\|[xX]\)\x\+\|\d\+\)\s*$/ nextgroup=skervoSeconds
syn match skervoSeconds /[+-]\=\(\(0[xX]\|\$\|[xX]\)\x\+\|\d\+\)/ contained
syn match skervoService /\c\<NETST\(ART\|OP\)\>/ contained nextgroup=skervoServiceName skipwhite
syn match skervoService /^\s*\zs\c\<NETST\(ART\|OP\)\>/ nextgroup=skervoServiceName skipwhite
syn match skervoServiceName /\S.*$/ contained
syn match skervoClose /^\s*\zs<<\=/ nextgroup=skervoApplication skipwhite
syn match skervoApplication /\S.*$/ contained
syn match skervoConnection /^\s*\zs&&\=/ nextgroup=skervoEntry skipwhite
syn match skervoEntry /\S.*$/ contained
syn match skervoConnection /^\s*\zs&[-<>]/ nextgroup=skervoHide,skervoIgnored
syn match skervoIgnored /.\+$/ contained
syn match skervoHide /,-/ contained nextgroup=skervoIgnored
syn match skervoWindow /^\s*\zs[-+]\ze\s*$/
syn match skervoComment /^\s*\zs#.*$/

hi def link skervoComment Comment
hi def link skervoLaunch Keyword
hi def link skervoPause Keyword
hi def link skervoSeconds Number
hi def link skervoWindow Keyword
hi def link skervoClose Keyword
hi def link skervoConnection Keyword
hi def link skervoHide Operator
hi def link skervoIgnored Error
hi def link skervoService Function
hi def link skervoServiceName Type
hi def link skervoEntry Label
hi def link skervoApplication Identifier
hi def link skervoProgram String
hi def link skervoQuoted String
hi def link skervoArguments Special

let b:current_syntax = "skervo"
