" Skervo scripts: one command per line, in a file ending in .skervo.
autocmd BufRead,BufNewFile *.skervo setfiletype skervo
