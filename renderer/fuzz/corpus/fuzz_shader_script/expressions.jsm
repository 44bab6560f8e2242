float $t 0; add #t 0.5; addto #t #t 1; maxto #t 1 2; minto #t 3 4; gate #t 1 0; /* block */ "quoted words" ;; square #t 1 10 0 5; tri #t 1 1 0 0; invsaw #t 1 1 0 0;
