<?php
// Requests per second of one PHP process: argv[1] is the request, argv[2]
// the number of requests. Prints "<requests> <seconds> <requests/s> <bytes of the last response>".
$request = $argv[1];
$count = (int)$argv[2];
$r = null;
arrayrpc($request, $r); // warm-up: initialises the controller library
ob_start();
$t0 = hrtime(true);
for ($i = 0; $i < $count; ++$i) {
    arrayrpc($request, $r);
}
$t1 = hrtime(true);
ob_end_clean();
$s = ($t1 - $t0) / 1e9;
fprintf(STDERR, "%d %.3f %.1f %d\n", $count, $s, $count / $s, strlen($r));
