<?php
// Background activities and deletion of a VD, from the overview's buttons.
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();
require_post();
$a = filter_var($_POST['adapter'] ?? null, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => 255]]);
$vd = filter_var($_POST['vd'] ?? null, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => 65535]]);
$op = is_string($_POST['op'] ?? null) ? $_POST['op'] : '';
// Control codes of the controller's activity operation.
$controls = ['restart' => 1, 'pause' => 2, 'resume' => 3, 'stop' => 4];
if ($a === false || $vd === false) {
    $_SESSION['err'] = 'Invalid adapter or VD number.';
} else {
    $base = ['AdapterID' => $a, 'LD_ID' => $vd];
    [$req, $params, $what] = match (true) {
        $op === 'cc' => ['KX_LD_StartConsistencyCheck', $base + ['Type' => 1], 'Consistency check started'],
        $op === 'init' => ['KX_LD_StartINIT', $base + ['Init_Type' => 0], 'Initialization started'],
        $op === 'delete' => ['KX_LD_Delete', $base + ['deleteMBR' => 0], 'VD deleted'],
        isset($controls[$op]) => ['KX_LD_BGAControl', $base + ['Actions' => $controls[$op]], ucfirst($op) . ' done'],
        default => [null, [], ''],
    };
    if ($req === null) {
        $_SESSION['err'] = 'Unknown action.';
    } else {
        $rc = Rpc::retval(Rpc::call($req, $params));
        if ($rc === 0) {
            $_SESSION['ok'] = "$what: VD $vd of adapter $a.";
        } else {
            $_SESSION['err'] = "The controller refused ($op on VD $vd): " . Words::error($rc)
                . (Rpc::$lastError !== '' ? ' (' . Rpc::$lastError . ')' : '');
        }
    }
}
header('Location: overview.php', true, 303);
