<?php
// The overview's buttons: start, pause, resume, restart and stop of the
// background activities of VDs, disks and arrays, and deletion of a VD.
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();
require_post();
$a = filter_var($_POST['adapter'] ?? null, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => 255]]);
// The button pressed: "kind:id:op".
[$kind, $id, $op] = array_pad(explode(':', is_string($_POST['do'] ?? null) ? $_POST['do'] : '', 3), 3, '');
$id = filter_var($id, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => 65534]]);
// Control codes of the controller's activity operations.
$controls = ['restart' => 1, 'pause' => 2, 'resume' => 3, 'stop' => 4];
// kind => [noun, ID parameter, control request, its action parameter, other operations]
$kinds = [
    'vd' => ['VD', 'LD_ID', 'KX_LD_BGAControl', 'Actions', [
        'cc' => ['KX_LD_StartConsistencyCheck', ['Type' => 1], 'Consistency check started'],
        'init' => ['KX_LD_StartINIT', ['Init_Type' => 0], 'Initialization started'],
        'delete' => ['KX_LD_Delete', ['deleteMBR' => 0], 'VD deleted']]],
    'pd' => ['PD', 'HD_ID', 'KX_PD_BGAControl', 'Action', [
        'mp' => ['KX_PD_StartMediaPatrol', [], 'Media patrol started'],
        'scrub' => ['KX_PD_StartDataScrub', [], 'Data scrub started']]],
    'array' => ['array', 'DG_ID', 'KX_DG_BGAControl', 'Actions', []],
];
if ($a === false || $id === false || !isset($kinds[$kind])) {
    $_SESSION['err'] = 'Invalid adapter or object.';
} else {
    [$noun, $idName, $controlReq, $actionName, $ops] = $kinds[$kind];
    $base = ['AdapterID' => $a, $idName => $id];
    [$req, $params, $what] = $ops[$op] ?? (isset($controls[$op])
        ? [$controlReq, [$actionName => $controls[$op]], ucfirst($op) . ' done'] : [null, [], '']);
    if ($req === null) {
        $_SESSION['err'] = 'Unknown action.';
    } else {
        $rc = Rpc::retval(Rpc::call($req, $base + $params));
        if ($rc === 0) {
            $_SESSION['ok'] = "$what: $noun $id of adapter $a.";
        } else {
            $_SESSION['err'] = "The controller refused ($op on $noun $id): " . Words::error($rc)
                . (Rpc::$lastError !== '' ? ' (' . Rpc::$lastError . ')' : '');
        }
    }
}
header('Location: overview.php', true, 303);
